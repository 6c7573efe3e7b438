// Step 3.56: documents numbered twice in one table since the numbers became unique are
// logged and renumbered again, and the unique number indexes that could not be created
// then are created now.
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// A document table with its own listing, log prefix and update texts.
struct Tabela_Numerow {
    const char* lista;
    const char* log;
    const char* zmiana;
};

constexpr Tabela_Numerow kTabeleWlasne[] = {
    {"t1.FAKOUT_NUMER,t1.FAKOUT_ID from dok_fak as t1 inner join dok_fak as t2 on "
     "t1.FAKOUT_NUMER=t2.FAKOUT_NUMER where t1.FAKOUT_ID<>t2.FAKOUT_ID",
     "Podwójne numery w dok_fak : ",
     "update dok_fak as t1 inner join dok_fak as t2 on t1.FAKOUT_NUMER=t2.FAKOUT_NUMER set "
     "t1.FAKOUT_NUMER=t1.FAKOUT_NUMER+'N' where t1.FAKOUT_ID>t2.FAKOUT_ID"},
    {"t1.fkorout_numer,t1.FKOROUT_ID from dok_kfa as t1 inner join dok_kfa as t2 on "
     "t1.fkorout_numer=t2.fkorout_numer where t1.FKOROUT_ID>t2.FKOROUT_ID",
     "Podwójne numery w dok_kfa : ",
     "update dok_Kfa as t1 inner join dok_Kfa as t2 on t1.fkorout_numer=t2.fkorout_numer set "
     "t1.fkorout_numer=t1.fkorout_numer+'N' where t1.FKOROUT_ID>t2.FKOROUT_ID"},
    {"t1.fkorout_numer,t1.FKOROUT_ID from dok_kza as t1 inner join dok_kza as t2 on "
     "t1.fkorout_numer=t2.fkorout_numer where t1.FKOROUT_ID<>t2.FKOROUT_ID",
     "Podwójne numery w dok_kza : ",
     "update dok_KZa as t1 inner join dok_KZa as t2 on t1.fkorout_numer=t2.fkorout_numer set "
     "t1.fkorout_numer=t1.fkorout_numer+'N' where t1.FKOROUT_ID>t2.FKOROUT_ID"},
    {"t1.numer_zaksiegowania,t1.numer_id from dok_zak as t1 inner join dok_zak as t2 on "
     "t1.numer_zaksiegowania=t2.numer_zaksiegowania where t1.numer_id>t2.numer_id",
     "Podwójne numery w dok_zak : ",
     "update dok_ZaK as t1 inner join dok_ZaK as t2 on "
     "t1.numer_zaksiegowania=t2.numer_zaksiegowania set "
     "t1.numer_zaksiegowania=t1.numer_zaksiegowania+'N' where t1.numer_id>t2.numer_id"},
};

constexpr const char* kIndeksy[] = {
    "CREATE UNIQUE INDEX UnicNumer ON DOK_FAK (FAKOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_DD  (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_DZ  (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_KFA (fkorout_numer)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_PAR (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_PW  (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_RW  (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_ZAK (numer_zaksiegowania)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_KZA (fkorout_numer)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_WZ  (DDOUT_NUMER)",
    "CREATE UNIQUE INDEX UnicNumer ON DOK_PZ  (DDOUT_NUMER)",
};

}  // namespace

void ClsKonwersje::Popraw_Podwojne_Numery() {
    std::unique_ptr<ado::Recordset> rs;
    // Logs every row of the listing: prefix, number, "," and id.
    const auto loguj = [&](const std::string& lista, const std::string& prefiks) {
        DbOtwórzSELKonwersje(rs, lista);
        while (!Rekordy(rs).Eof()) {
            Zapisz_Log(prefiks + NzStr(rs->Fields(0).value()) + "," + NzStr(rs->Fields(1).value()),
                       "Konwersja", "Admin");
            rs->MoveNext();
        }
        ZamknijRSKonwersje(rs);
    };
    for (const std::string t :
         {"DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_PW", "DOK_RW"}) {
        Pokaz_Postep("", "", t);
        loguj("t1.ddout_numer,t1.ddout_id from " + t + " as t1 inner join " + t +
                  " as t2 on t1.ddout_numer=t2.ddout_numer where t1.ddout_id>t2.ddout_id",
              "Podwójne numery w " + t + ": ");
        DbWykonajKonwersje("update " + t + " as t1 inner join " + t +
                           " as t2 on t1.ddout_numer=t2.ddout_numer set "
                           "t1.ddout_numer=t1.ddout_numer+'N' where t1.ddout_id>t2.ddout_id");
    }
    for (const Tabela_Numerow& t : kTabeleWlasne) {
        loguj(t.lista, t.log);
        DbWykonajKonwersje(t.zmiana);
    }
    for (const char* indeks : kIndeksy) DbWykonajKonwersjeNoErr(indeks);
}

void ClsKonwersje::Konwersja_356() {
    Popraw_Podwojne_Numery();
}
