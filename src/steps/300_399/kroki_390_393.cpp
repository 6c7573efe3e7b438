// Steps 3.90 to 3.93: the pro-forma document kinds PFA and ZPF, the rights texts of users,
// contractors' banks pointed at the bank parties of the register, and the cash reports
// and cash-desk balances recomputed from the cash documents.
#include <memory>
#include <string>
#include <vector>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_390() {
    DbWykonajKonwersje("drop table DOK_PFA");
    DbWykonajKonwersje("drop table DOK_PFA_Zawart");
    DbWykonajKonwersje("SELECT DOK_Dz.* INTO DOK_PFA FROM DOK_Dz");
    DbWykonajKonwersje("SELECT DOK_Dz_ZAWART.* INTO DOK_PFA_ZAWART FROM DOK_Dz_ZAWART");
    DbWykonajKonwersje("Delete * from DOK_PFA");
    DbWykonajKonwersje("Delete * from  DOK_PFA_ZAWART");
    DbWykonajKonwersje("alter table DOK_PFA ADD COLUMN Rodz_Dok  Text (50)");
    DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_PFA  (DDOUT_NUMER)",
                            Powtorzona_Wartosc("DOK_PFA", "DDOUT_NUMER"));
    Utworz_Klucze_Z_Zawart("DOK_PFA", "DDOUT_ID asc", "PROD_ID asc");
    DbWykonajKonwersje("alter table Sposob_numeracji ADD COLUMN nag_pfa Text (50)");
}

void ClsKonwersje::Konwersja_391() {
    for (const char* kolumna : {"PrawaK", "PrawaP", "PrawaF"})
        DbWykonajKonwersje(std::string("alter table [UZYTKOWNICY] ADD COLUMN [") + kolumna +
                           "] Text (255)");
    DbWykonajKonwersje("Update [UZYTKOWNICY] set [prawaK]='',[prawaP]='',[prawaF]=''");

    // A contractor that is not itself a bank party takes the bank party whose short name
    // is the first 16 characters of his old bank entry's name; of two such parties, the
    // first entered (the lowest konh_id). An entry that is no more, or whose bank has no
    // party of that name (a cash desk's, or one renamed to stay unique), names no bank
    // (0): its old number would name whichever party has that id. The Log names each.
    const std::string bez_banku =
        "KONTRAHENCI.id_kasy bez banku wśród kontrahentów (nie wskazują żadnego kontrahenta)";
    std::vector<std::string> bez;
    std::unique_ptr<ado::Recordset> kontrahent;
    std::unique_ptr<ado::Recordset> bank;
    DbOtwórzSELKonwersje(kontrahent, "konh_id,[id_kasy] from kontrahenci where [id_kasy]<>0");
    for (; !kroki::Rekordy(kontrahent).Eof(); kontrahent->MoveNext()) {
        if (DbOtwórzSEL(bank,
                        "top 1 konh_id from kontrahenci where [konh_id]=" +
                            NzStr(kontrahent->Fields(0).value()) +
                            " and (kontrahenci.rkonh_nazwa_id='Kasa' or "
                            "kontrahenci.rkonh_nazwa_id='Bank') and rodz='B'",
                        kOtworzOdczyt) != 0)
            continue;
        const int32_t jest = DbOtwórzSEL(
            bank,
            "top 1 konh_id,KONH_NAZ_SKROT from kontrahenci inner join kasybanki on "
            "mid(kasybanki.nazwa,1,16)=kontrahenci.KONH_NAZ_SKROT where kasybanki.id_kasy=" +
                NzStr(kontrahent->Fields(1).value()) +
                " and (kontrahenci.rkonh_nazwa_id='Kasa' or "
                "kontrahenci.rkonh_nazwa_id='Bank') and kontrahenci.rodz='B' order by "
                "kontrahenci.konh_id",
            kOtworzOdczyt);
        if (jest < 0) continue;
        if (jest == 0)
            bez.push_back("konh_id = " + NzStr(kontrahent->Fields(0).value()) +
                          ", id_kasy = " + NzStr(kontrahent->Fields(1).value()));
        kontrahent->Fields(1) = jest > 0 ? bank->Fields(0).value() : jet::Value::long_(0);
        kontrahent->UpdateBatch();
    }
    ZamknijRS(kontrahent);
    ZamknijRS(bank);
    kroki::Loguj_Wiersze(391, bez_banku, bez);
}

void ClsKonwersje::Konwersja_393() {
    DbWykonajKonwersje("drop table DOK_ZPF");
    DbWykonajKonwersje("drop table DOK_ZPF_ZAWART");
    DbWykonajKonwersje("SELECT DOK_PFA.* INTO DOK_ZPF FROM DOK_PFA");
    DbWykonajKonwersje("SELECT DOK_PFA_ZAWART.* INTO DOK_ZPF_ZAWART FROM DOK_PFA_ZAWART");
    DbWykonajKonwersje("Delete * from DOK_ZPF");
    DbWykonajKonwersje("Delete * from  DOK_ZPF_ZAWART");
    DbWykonajKonwersje("alter table DOK_ZPF ADD COLUMN Rodz_Dok  Text (50)");
    DbWykonajKonwersjeNoErr("CREATE UNIQUE INDEX UnicNumer ON DOK_ZPF  (DDOUT_NUMER)",
                            Powtorzona_Wartosc("DOK_ZPF", "DDOUT_NUMER"));
    Utworz_Klucze_Z_Zawart("DOK_ZPF", "DDOUT_ID asc", "PROD_ID asc");
    DbWykonajKonwersje("alter table Sposob_numeracji ADD COLUMN nag_pfa Text (50)");

    Kontrahenci_Dokumentow_Kasowych("dok_fin_ZAWART");

    // Every report is summed again from its cash documents, and every cash desk and bank
    // from its reports. A cash document without an amount (Null) counts as 0, so that it
    // cannot turn its report's totals and its cash desk's balance into Null. A document of
    // report id 0 is in no report.
    DbWykonajUPDKonwersje(
        "DOK_FRA SET DOK_FRA.[kwota_kp] = 0, DOK_FRA.[kwota_kw] = 0,DOK_FRA.[Saldo] = 0 , "
        "DOK_FRA.[Bilans] = 0",
        "", "", "");
    {
        const Zamierzony_Raport po_dokumencie{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "DOK_FRA INNER JOIN [DOK_FIN] ON DOK_FRA.[raport_id] = [DOK_FIN].[raport_id] SET "
            "DOK_FRA.[kwota_kp] = DOK_FRA.[kwota_kp]+IIf([DOK_FIN].[kwota] Is "
            "Null,0,[DOK_FIN].[kwota]), "
            "DOK_FRA.[kwota_kw] = DOK_FRA.[kwota_kw]+IIf([DOK_FIN].[kwota_kw] Is "
            "Null,0,[DOK_FIN].[kwota_kw]),DOK_FRA.[Bilans] = "
            "DOK_FRA.[Bilans]+IIf([DOK_FIN].[kwota] Is "
            "Null,0,[DOK_FIN].[kwota])-IIf([DOK_FIN].[kwota_kw] Is Null,0,[DOK_FIN].[kwota_kw]) "
            "WHERE [DOK_FIN].[raport_id]<>0",
            "", "", "");
    }
    DbWykonajUPDKonwersje(
        "kontrahenci set Saldo=0 where rkonh_nazwa_id='Kasa' or rkonh_nazwa_id='Bank'", "", "", "");
    {
        // Each report adds its balance once to its cash desk or bank.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "kontrahenci INNER JOIN [DOK_Fra] ON kontrahenci.[Konh_id] = [DOK_fra].[id_kasy] SET "
            "kontrahenci.[Saldo] = kontrahenci.[Saldo]+[DOK_fra].[Bilans] where "
            "kontrahenci.rkonh_nazwa_id='Kasa' or kontrahenci.rkonh_nazwa_id='Bank'",
            "", "", "");
    }
}
