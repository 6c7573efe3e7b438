#include "db/konto_id.h"

#include "db/otworz.h"

void ID_konta(const std::string& k1, const std::string& k2, const std::string& k3,
              const std::string& k4, int32_t& id, int32_t rok) {
    id = 0;
    std::unique_ptr<ado::Recordset> rs;
    const int32_t n =
        DbOtwórzSEL(rs,
                    "top 1 Countt FROM [KH_KONTA] where [KH_KONTA].NR_K_1= '" + k1 +
                        "' and [KH_KONTA].NR_K_2='" + k2 + "' and [KH_KONTA].NR_K_3='" + k3 +
                        "' and [KH_KONTA].NR_K_4='" + k4 + "' and rok=" + std::to_string(rok) +
                        " order by Countt",
                    kOtworzOdczyt, "", 0);
    if (n > 0) id = rs->Fields(0).value().to_long();
    ZamknijRS(rs);
}
