// Step 5.54: the classification of fixed assets as the reference table S_KRST, and the
// classification symbol of every fixed asset.
#include <memory>
#include <set>
#include <string>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// A row of S_KRST: symbol, name and the two annual depreciation rates in per cent, written
// as the statements carry them (a whole number or a decimal comma: "2,5").
struct Pozycja_KRST {
    const char* symbol;
    const char* nazwa;
    const char* proc1;
    const char* proc2;
};

// The rows of the classification that the conversion writes: the nine groups and the ten
// other rows whose name and rates are known, in ascending text order of the symbol (the
// order of the hierarchy).
constexpr Pozycja_KRST kKlasyfikacjaKRST[] = {
    {"0", "GRUNTY I MELIORACJE SZCZEGÓŁOWE", "0", "0"},
    {"00", "Grunty", "0", "0"},
    {"004", "Grunty pod urządzeniami komunikacji", "1", "2"},
    {"1", "BUDYNKI", "2,5", "2,5"},
    {"16", "Budynki mieszkalne", "1,5", "1,5"},
    {"2", "BUDOWLE", "4", "4"},
    {"250-5", "Doki stałe", "4", "4"},
    {"3", "KOTŁY I MASZYNY ENERGETYCZNE", "5", "6"},
    {"4", "MASZYNY,URZĄDZENIA I APARATY OGÓLNEGO ZASTOSOWANIA", "8,5", "10"},
    {"434-01", "Zamykarki do słoi", "20", "20"},
    {"491", "Zespoły komputerowe", "30", "30"},
    {"5", "MASZYNY I URZĄDZENIA SPECJALNE - BRANŻOWE", "0", "0"},
    {"581-2", "Wibratory i wibromłoty", "50", "50"},
    {"6", "URZĄDZENIA TECHNICZNE", "8,5", "10"},
    {"629", "Telefony komórkowe", "15", "20"},
    {"669", "Kasy fiskalne i rejestrujące", "15", "20"},
    {"7", "ŚRODKI TRANSPORTOWE", "6", "7"},
    {"8", "NARZĘDZIA, PRZYRZĄDY, RUCHOMOŚCI, WYPOSAŻENIE", "17", "20"},
    {"999", "Pozostałe środki trwałe oraz wartości niematerialne i prawne", "0", "0"},
};

// The symbols that S_KRST holds already. A fresh table holds none; a run stopped inside
// the step leaves the rows it had inserted, and the key is only created at the end, so
// inserting them again would make duplicates and the key would then fail. A table that
// cannot be read counts as empty.
std::set<std::string> Symbole_W_Tabeli(ClsKonwersje& k) {
    std::set<std::string> symbole;
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, "SYMBOL_KRST from S_KRST", true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) symbole.insert(NzStr(rs->Fields(0).value()));
    k.ZamknijRSKonwersje(rs);
    return symbole;
}

}  // namespace

void ClsKonwersje::Konwersja_554() {
    DbWykonajKonwersje(
        "Create table [S_KRST] (iddd int identity,SYMBOL_KRST Text (12),NAZWA Text (120),proc1 "
        "Single DEFAULT 0,proc2 Single DEFAULT 0 )");
    const std::set<std::string> istniejace = Symbole_W_Tabeli(*this);
    for (const Pozycja_KRST& p : kKlasyfikacjaKRST) {
        if (istniejace.count(p.symbol)) continue;
        DbWykonajIINKonwersje(std::string("S_KRST (SYMBOL_KRST,NAZWA,proc1,proc2) values ('") +
                              p.symbol + "','" + p.nazwa + "','" + p.proc1 + "','" + p.proc2 +
                              "')");
    }
    DbWykonajKonwersje("alter table SRODKI_TRWALE ADD COLUMN [SYMBOL_KRST] Text (12)");
    DbWykonajKonwersje("update SRODKI_TRWALE set SYMBOL_KRST=''");
    Utworz_Klucz_Podstawowy("S_KRST", "SYMBOL_KRST");
}
