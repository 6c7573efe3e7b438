// The Access 97 to 2000 upgrade: a file in the old format is tidied in place, backed
// up, its COUNT and USER columns renamed, copied table by table into a new file of
// the current format, and that file compacted beside the database and renamed over it.
#include <filesystem>
#include <vector>

#include "db/komunikaty.h"
#include "db/pliki.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/database.h"
#include "jet/files.h"
#include "jet/text.h"
#include "platform/paths.h"

namespace {

constexpr const char* kLokalizacja = ";LANGID=0x0415;CP=1250;COUNTRY=0";
constexpr const char* kBladDostepu =
    "Błąd dostępu do bazy - proszę zamknąć program na pozostałych stanowiskach !";

// A failure of the environment other than a file held elsewhere (a full disk, an I/O
// error, a damaged file): it ends the run as it does anywhere in the run, named as what it
// is, never taken for a file that other workstations hold.
bool Awaria_Poza_Blokada(const jet::Error& e) {
    return jet::environment_failure(e) && !jet::file_locked(e);
}

// A failure of the upgrade once the backup is under way: a failure of the environment is
// reported as what it is; any other means the file is held elsewhere.
[[noreturn]] void Blad_Dostepu(const jet::Error& e) {
    if (Awaria_Poza_Blokada(e)) Wyjątek_Pokaż(e.signed_number(), e.description(), "", -1);
    FMsg_box(kBladDostepu, vbCritical, "");
    Wylogowanie();
}

bool Systemowa(const std::string& nazwa) {
    return nazwa.compare(0, 4, "MSys") == 0;
}

// The names of the user tables, in the order of the file's table collection, taken
// before a pass that renames or drops tables changes the collection.
std::vector<std::string> Tabele_Uzytkownika(dao::Database& baza) {
    std::vector<std::string> nazwy;
    const int n = baza.TableDefCount();
    for (int i = 0; i < n; ++i) {
        std::string nazwa = baza.TableDefs(i).Name();
        if (!Systemowa(nazwa)) nazwy.push_back(std::move(nazwa));
    }
    return nazwy;
}

std::string W_Katalogu(const std::string& plik) {
    return platform::path_folder(Sciezka_Bazy) + "/" + plik;
}

}  // namespace

void ClsKonwersje::Porzadkuj_BazeKonwersje(const std::string& path, bool drop) {
    BazaDAO = dao::DBEngine::OpenDatabase(path);
    for (const std::string& nazwa : Tabele_Uzytkownika(*BazaDAO)) {
        if (nazwa.rfind("_", 0) == 0 || nazwa == "Błędy wklejania") {
            if (drop) DbWykonajDAO("drop table [" + nazwa + "]", BazaDAO);
            continue;
        }
        if (jet::text::upper(nazwa) == "NIERUSZAC") continue;
        const std::string tabela = jet::text::upper(nazwa);
        dao::TableDef td = BazaDAO->TableDefs(nazwa);
        td.SetName(tabela);
        td = BazaDAO->TableDefs(tabela);
        const int pol = td.FieldCount();
        for (int i = 0; i < pol; ++i) {
            Pokaz_Postep("", "", tabela + " " + std::to_string(pol - 1 - i));
            dao::Field pole = td.Fields(i);
            const std::string f = pole.Name();
            const int typ = pole.Type();
            if (typ >= dao::dbByte && typ <= dao::dbDouble) {
                const bool wyjazd = jet::text::upper(f) == "NR_WYJAZDU";
                pole.SetDefaultValue(wyjazd ? "1" : "0");
                DbWykonajDAO("UPDATE [" + tabela + "] SET [" + f + "]=" + (wyjazd ? "1" : "0") +
                                 "  where [" + f + "] is null",
                             BazaDAO);
            } else if (typ == dao::dbText || typ == dao::dbMemo) {
                pole.SetAllowZeroLength(true);
                pole.SetDefaultValue("\"\"");
                DbWykonajDAO("UPDATE [" + tabela + "] SET [" + f + "]='' where [" + f + "] is null",
                             BazaDAO);
            }
        }
    }
    BazaDAO->Close();
    BazaDAO.reset();
    CzekajKonwersje(5);
}

namespace {

// A run stopped inside the compaction leaves the compaction's scratch copy
// ("<file>.compact-" and six characters) beside the file it was writing.
void Usun_Kopie_Zageszczania(const std::string& zwarta) {
    namespace fs = std::filesystem;
    const fs::path plik(zwarta);
    const std::string poczatek = plik.filename().string() + ".compact-";
    std::error_code ec;
    for (fs::directory_iterator it(plik.parent_path(), ec), koniec; !ec && it != koniec;
         it.increment(ec)) {
        const std::string n = it->path().filename().string();
        if (n.size() == poczatek.size() + 6 && n.starts_with(poczatek)) {
            std::error_code ignoruj;
            fs::remove(it->path(), ignoruj);
        }
    }
}

// Writes the backup copy of the closed database: its committed state, the commits that
// its log still holds with them, read through the engine (never the file's bytes alone,
// which may lack them or be caught half copied in) into a file that takes the backup's
// name only once it is complete and opens as a database. A failure of the environment
// (a full disk, an I/O error, a copy that does not open) ends the run as it does anywhere
// in the run; a copy refused otherwise (another process holds the file, the backup's
// name is taken) is asked about again ("Powtórz"; No deletes the new file's name and
// ends the run).
void Kopiuj_Baze(const std::string& kopia, const std::string& nowy) {
    for (;;) {
        try {
            jet::Database::copy(Sciezka_Bazy, kopia, std::string(kDatabasePassword));
            return;
        } catch (const jet::Error& e) {
            if (Awaria_Poza_Blokada(e)) Wyjątek_Pokaż(e.signed_number(), e.description(), "", -1);
        }
        if (FMsg_box("Powtórz", vbYesNo, kBladDostepu) != vbYes) {
            Usun_Plik(nowy);
            Wylogowanie();
        }
    }
}

}  // namespace

void ClsKonwersje::Konwertuj_A97_A2000() {
    const std::string nazwa = Nazwa_Pliku(Sciezka_Bazy);
    const std::string nowy = W_Katalogu("A2000_" + nazwa);
    const std::string kopia = W_Katalogu("A97_" + nazwa + "bak");
    const std::string zwarta = nowy + ".new";

    Usun_Plik(nowy);
    bool kopia_zrobiona = false;
    try {
        if (!Plik_Dostepny(kopia)) {
            kopia_zrobiona = true;
            // A backup that cannot be written ends the run after this close, which therefore
            // leaves the file whole.
            leave_file_whole_at_close();
            DbZamknij_Unload(0);
            CzekajKonwersje(5);
            Kopiuj_Baze(kopia, nowy);
            DbOtwórz();
        }
    } catch (const jet::Error& e) {
        if (kopia_zrobiona) Blad_Dostepu(e);
    }
    try {
        DbZamknij_Unload(0);
        DbOtwórz();
    } catch (const jet::Error& e) {
        if (kopia_zrobiona) Blad_Dostepu(e);
    }

    try {
        BazaDAO = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const std::string& tabela : Tabele_Uzytkownika(*BazaDAO)) {
            Pokaz_Postep("", "", tabela);
            dao::TableDef td = BazaDAO->TableDefs(tabela);
            const int pol = td.FieldCount();
            for (int i = 0; i < pol; ++i) {
                dao::Field pole = td.Fields(i);
                const std::string f = pole.Name();
                const std::string wielkie = jet::text::upper(f);
                if (wielkie == "COUNT" || wielkie == "USER") {
                    DbWykonajDAOKonwersje("create index ind" + f + " on " + tabela + " (" + f +
                                          " asc) with Primary");
                    pole.SetName(wielkie == "COUNT" ? "COUNTT" : "USERS");
                }
            }
        }
        BazaDAO->Close();
        BazaDAO.reset();
        CzekajKonwersje(5);
        DbZamknij_Unload(0);
        DbOtwórz();

        dao::DBEngine::CreateDatabase(nowy, kLokalizacja);
        {
            ado::Connection druga;
            druga.Mode = ado::adModeShareDenyNone;
            druga.Open(connection_string(nowy), "", "", -1);
            BazaDAO = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
            for (const std::string& tabela : Tabele_Uzytkownika(*BazaDAO)) {
                Pokaz_Postep("", "", tabela);
                druga.Execute(
                    "select * into [" + tabela + "] from [" + Sciezka_Bazy + "].[" + tabela + "]",
                    nullptr, -1);
            }
            BazaDAO->Close();
            BazaDAO.reset();
            druga.Close();
        }
        CzekajKonwersje(5);
        // A compaction that fails ends the run after this close, which therefore leaves the
        // file whole.
        leave_file_whole_at_close();
        DbZamknij_Unload(0);
        // The compacted copy is written beside the database and takes its name in one
        // step: a run stopped at any point leaves the old or the new file there.
        Usun_Plik(zwarta);
        Usun_Kopie_Zageszczania(zwarta);
        dao::DBEngine::CompactDatabase(nowy, zwarta, kLokalizacja);
        jet::replace_database(zwarta, Sciezka_Bazy);
        Usun_Plik(nowy);
        DbOtwórz();
    } catch (const jet::Error& e) {
        Blad_Dostepu(e);
    }
}
