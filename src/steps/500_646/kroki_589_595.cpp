// Steps 5.89 to 5.95: personnel amounts, the second-warehouse flag of movement documents,
// contractor contact columns and the contacts table, the first driver reference from the
// general discount row, and the bank data of bank contractors.
#include <string>

#include "db/otworz.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_589() {
    Dodaj_Pole("KADRY_OPCJE", "[Ozn_Kom] Text (40)");
    for (const char* kolumna : {"[Kwota_zaj]", "[Kwota_ekw]", "[Kwota_zwol]"})
        Dodaj_Pole("KADRY_OPCJE", std::string(kolumna) + " money DEFAULT 0");
}

void ClsKonwersje::Konwersja_590() {
    Dodaj_Pole("DOK_MPP", "[Magazyn2] Logical");
    const std::string rodzaj = " as t inner join S_RODZAJ_MWP on t.KONH_ID=S_RODZAJ_MWP.id_mwp";
    for (const char* tabela : {"DOK_MPP", "DOK_MP", "DOK_MW"})
        DbWykonajUPDKonwersje(
            "", tabela + rodzaj,
            "t.Magazyn2=" + kroki::Kopia_Bez_Nulla("t.Magazyn2", "S_RODZAJ_MWP.Magazyn2"), "");
}

void ClsKonwersje::Konwersja_591() {
    for (const char* kolumna : {"[TELKontaktowy1]", "[TELKontaktowy2]", "[eMAIL1]", "[eMAIL2]"})
        Dodaj_Pole("KONTRAHENCI", std::string(kolumna) + " Text (50)");
}

void ClsKonwersje::Konwersja_592() {
    // A discount row without a driver leaves the customer's driver as it stands.
    DbWykonajKonwersje(
        "update kontrahenci as k inner join kontrahenci_rabaty as kr on k.konh_id=kr.konh_id set "
        "k.kier_id1=kr.kier_id1 where kr.Id_GR_prod=0 and kr.kier_id1 is not null");
}

void ClsKonwersje::Konwersja_593() {
    Dodaj_Pole("KH_KONTA", "[vat7] Text (6)");
}

void ClsKonwersje::Konwersja_594() {
    Dodaj_Pole("KH_SCHEMATY_ZAWART", "[DataWystTermin] int DEFAULT 0");
    Dodaj_Pole("KONTRAHENCI", "[NieDrukuj_należności_na_fakturach] Logical");
}

void ClsKonwersje::Konwersja_595() {
    // The contacts table, the step's first, tells that an earlier run began the step: it may
    // have rewritten some banks' account numbers, and no fact of the database tells which,
    // while a second rewrite would put the bank's text in front of the number again.
    if (Jest_Tabela("Kontrahenci_kontakty") &&
        Liczba_Z_Zapytania("count(*) from kontrahenci where RKONH_NAZWA_ID='Bank'") > 0)
        Konwersja_Przerwana(595,
                            "po utworzeniu tabeli Kontrahenci_kontakty; numery kont "
                            "banków mogły zostać już poprzedzone tekstem z kolumny "
                            "konh_naz_bank");
    DbWykonajKonwersje(std::string("Create table [Kontrahenci_kontakty] (Konh_id ") +
                       "int DEFAULT 0" + ",countt " + "int identity" + ",Nazwisko " + "Text " +
                       "(100)" + ",Telefon " + "Text " + "(100)" + ",Email  " + "Text " + "(100))");
    // A bank's text in the bank-name column goes in front of its account number (with a
    // dash after a sort code of eight characters), and the bank name becomes its own name.
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSEL(rs,
                "konh_naz_bank,konh_nr_konta,KONH_NAZWA  from kontrahenci where "
                "RKONH_NAZWA_ID='Bank'",
                kOtworzEdycja);
    for (ado::Recordset& r = kroki::Rekordy(rs); !r.Eof(); r.MoveNext()) {
        const jet::Value bank = r.Fields(0).value();
        const bool osiem = !bank.is_null() && jet::text::length(bank.to_text()) == 8;
        const jet::Value przed = osiem ? jet::concat(bank, jet::Value::text("-")) : bank;
        r.Fields(1) = jet::concat(przed, r.Fields(1).value());
        r.Fields(0) = r.Fields(2).value();
        r.UpdateBatch(ado::adAffectCurrent);
    }
    ZamknijRS(rs);
    DbWykonajKonwersje("delete from  s_inne WHERE ID_slownka=4");
    Dodaj_Wiersze_Gdy_Brak(
        "insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  4,konh_naz_bank from "
        "kontrahenci",
        "[S_Inne] where ID_slownka=4", true);
}
