// Steps 3.69 to 3.71 about orders and production: old orders deleted on request and six
// more order quantities, the order redirection table, six more driver slots of
// contractors, production columns dropped, ordered quantities taken from the produced
// ones, and the raw materials of each production document summed per raw material.
#include <memory>
#include <string>

#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The order quantities 4 to ostatnia added to an order table, Nulls set to 0.
void Dodaj_Ilosci(ClsKonwersje& k, const std::string& tabela, int ostatnia) {
    for (int n = 4; n <= ostatnia; ++n)
        k.DbWykonajKonwersje("Alter table " + tabela + " ADD COLUMN ilosc" + std::to_string(n) +
                             " Single DEFAULT 0");
    for (int n = 4; n <= ostatnia; ++n) {
        const std::string kolumna = "ilosc" + std::to_string(n);
        k.DbWykonajUPDKonwersje(tabela + " set " + kolumna + "=0 where " + kolumna + " is null", "",
                                "", "");
    }
}

}  // namespace

void ClsKonwersje::Konwersja_369() {
    kroki::Usun_Zamowienia_Do(*this, kroki::Dzisiaj() - 120);
    Dodaj_Ilosci(*this, "DOK_ZAM_ZAWART", 10);
    Dodaj_Ilosci(*this, "zamowienia_szablon", 10);
}

void ClsKonwersje::Konwersja_370() {
    Usun_Pole("DOK_ZAM_ZAWART", "ilosc10");
    Usun_Pole("zamowienia_szablon", "ilosc10");
    DbWykonajKonwersje(
        "Create table Zamowienia_Przekierowania (Kurs int DEFAULT 0,Zmiana int "
        "DEFAULT 0)");
    DbWykonajDELKonwersje("Zamowienia_Przekierowania");
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "Kurs,Zmiana from Zamowienia_Przekierowania");
    ado::Recordset& r = kroki::Rekordy(rs);
    for (int32_t kurs = 1; kurs <= 9; ++kurs) {
        r.AddNew();
        r.Fields(0) = jet::Value::long_(kurs);
        r.Fields(1) = jet::Value::long_(kurs < 4 ? kurs : 3);
    }
    r.UpdateBatch();
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_371() {
    for (int n = 4; n <= 9; ++n)
        DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN  kier_id" + std::to_string(n) +
                           " int DEFAULT 0");
    for (int n = 4; n <= 9; ++n) {
        const std::string kolumna = "kier_id" + std::to_string(n);
        DbWykonajKonwersje("Update [Kontrahenci] set " + kolumna + "=0 where " + kolumna +
                           " is null");
    }

    for (const char* kolumna : {"WSPRZ_CENA_VAT", "WSPRZ_ILOSC"})
        Usun_Pole("dok_pro_zawart", kolumna);
    for (const char* kolumna : {"ilosc_polprod", "ilosc_SUR", "DATA"})
        Usun_Pole("DOK_PRO_ZAWART_SUROWCE", kolumna);
    for (const char* kolumna : {"KONH_ID",
                                "ddout_data_sprz",
                                "DDOUT_DO_ROZLICZENIA",
                                "ddout_zaplacona",
                                "fplat_nazwa_id",
                                "zbiorczy",
                                "ddout_Termin_zaplaty",
                                "Remanent",
                                "wart_kp",
                                "rodzdok",
                                "ID_Kasy",
                                "kier_id",
                                "Zbiorczy_id",
                                "numer_dokumentu",
                                "Zakup",
                                "b_rabat_n",
                                "b_rabat_V",
                                "DDOUT_wart_VAT",
                                "rabat",
                                "zam_id"})
        Usun_Pole("DOK_PRO", kolumna);

    // The ordered quantities take the produced ones; a quantity not given replaces nothing.
    DbWykonajKonwersje(
        "UPDATE [dok_pro_zawart] SET [ilosc_ZAM] =[ILOSC_PROD] where [ILOSC_PROD] is not null");
    DbWykonajKonwersje(
        "UPDATE [dok_pro_zawart] SET [ilosc_ZAM2]=[ILOSC_PROD2] where [ILOSC_PROD2] is not null");
    DbWykonajKonwersje(
        "UPDATE [dok_pro_zawart] SET [ilosc_ZAM3]=[ILOSC_PROD3] where [ILOSC_PROD3] is not null");

    DbWykonajKonwersje(
        "CREATE TABLE [DOK_PRO_SUROWCE] (ddout_id int DEFAULT 0,sur_id int DEFAULT 0,Ilosc "
        "Single DEFAULT 0,Wartosc money DEFAULT 0)");
    Utworz_Klucz_Podstawowy("DOK_PRO_SUROWCE", "ddout_id asc,sur_id ASC");
    // A raw-material line without its document or raw material names none (0): its
    // quantity and value are summed into the row of document or raw material 0, and the
    // Log counts it. A sum starts from 0: a quantity or value not given adds nothing.
    kroki::Loguj_Bez_Wskazania(
        *this, 371, "pozycje DOK_PRO_ZAWART_SUROWCE bez dokumentu lub surowca (liczone jako 0)",
        "[DOK_PRO_ZAWART_SUROWCE] where [DDOUT_ID] is null or [sur_ID] is null");
    DbWykonajKonwersje(
        "INSERT INTO [DOK_PRO_SUROWCE] ([DDOUT_ID],[sur_ID],[Ilosc],[Wartosc]) select "
        "Nz([DDOUT_ID],0),Nz([sur_ID],0),SUM(Nz([Ilosc],0)),SUM(Nz([Wartosc],0)) FROM "
        "[DOK_PRO_ZAWART_SUROWCE] GROUP BY Nz([DOK_PRO_ZAWART_SUROWCE].[DDOUT_ID],0),Nz(["
        "DOK_PRO_ZAWART_SUROWCE].[SUR_ID],0)");
}
