// Steps 3.02 to 3.04: the reason texts of corrections become memo, users' rights are
// cleared, and printers move from per-user to per-workstation rows.
#include <memory>
#include <string>

#include "db/nz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_302() {
    Zmien_Typ_Pola("tekst_kor", "memo", "DOK_KFA");
    Zmien_Typ_Pola("tekst_kor", "memo", "DOK_KZA");
}

void ClsKonwersje::Konwersja_303() {
    DbWykonajKonwersje("Update [UZYTKOWNICY] set [prawa]=''");
}

void ClsKonwersje::Konwersja_304() {
    const std::string dodaj = std::string("Alter Table [Drukarki] ") + "ADD COLUMN";
    DbWykonajKonwersje(dodaj + "  [Active] Logical");
    DbWykonajKonwersje(dodaj + "  [Stanowisko] Long");
    DbWykonajKonwersje("Update [Drukarki] set [Active]=-1");
    // What the owner's login gives a printer is done once the login column is gone: a run
    // that stopped after its drop did it all.
    if (Jest_Tabela("Drukarki", "LoginName")) {
        DbWykonajKonwersje("Update [Drukarki] set [Stanowisko]=0");
        // Each printer takes the workstation of its owner, of two users of one name the
        // first (the lowest id, or the row counter that 2.30 gave a table without one);
        // printers of no known user, or of a user without a workstation (0 or not given),
        // go.
        const std::string id = Jest_Tabela("UZYTKOWNICY", "id") ? "[id]" : "[Countt]";
        DbWykonajKonwersje(
            "Update ([Drukarki] inner join [UZYTKOWNICY] on "
            "[Drukarki].[loginname]=[UZYTKOWNICY].[nazwisko_uzytkownika]) left join "
            "[UZYTKOWNICY] AS UN on "
            "(UN.[nazwisko_uzytkownika]=[UZYTKOWNICY].[nazwisko_uzytkownika] "
            "and UN." +
            id + "<[UZYTKOWNICY]." + id +
            ") set [Drukarki].[Stanowisko]=Nz([UZYTKOWNICY].[Stanowisko],0) where UN." + id +
            " is null");
        DbWykonajKonwersje("Delete from [Drukarki] where [Stanowisko]=0");
        DbWykonajKonwersje(dodaj + "  [KopiaOrginal] Long");

        // The number of copies that the owner kept in Setup under "<login>\kopia\".
        std::unique_ptr<ado::Recordset> rs;
        DbOtwórzSELKonwersje(rs, "[KopiaOrginal],[LoginName] from [Drukarki]");
        while (!kroki::Rekordy(rs).Eof()) {
            const std::string klucz = NzStr(rs->Fields(1).value()) + "\\" + "kopia" + "\\";
            rs->Fields(0) =
                jet::Value::long_(NzLng(jet::Value::text(Czytaj_SetupKonwersje(klucz))));
            rs->MoveNext();
        }
        kroki::Rekordy(rs).UpdateBatch();
        ZamknijRSKonwersje(rs);
    }

    Usun_Pole("Drukarki", "LoginName");
    DbWykonajKonwersje(dodaj + " [MnoznikStron] Long");
    DbWykonajKonwersje("Update [Drukarki] set [MnoznikStron]=1");
}
