// Steps 5.26 to 5.33: obsolete tables dropped, the dictionary of document numbering
// variants, gross prices of production receipts, the order flag of contractors and
// products, the issuer per user, account segments as text, the table of other
// documents, fixed-asset lines linked to their purchase lines, and second prices.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/schemat.h"
#include "db/setup.h"
#include "db/teksty.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "platform/terminal.h"
#include "steps/165_299/wspolne.h"

namespace {

// The payment form of the book entries and the numbering dictionary, as step 5.27
// first sends them and step 5.29 sends them again.
void Forma_Platnosci_I_Numery(ClsKonwersje& k) {
    k.Dodaj_Pole("KH_KSIEGA", "FormaPl Text (1)");
    k.DbWykonajKonwersje("update KH_KSIEGA set FormaPl='G' where FormaPl=''");
    k.DbWykonajKonwersje(
        "create Table S_Numery_dok  (ID int identity,Dokument Text (50) default '',Sm_id int "
        "DEFAULT 0, PodziaL int DEFAULT 0,oKRESoD Text (10) DEFAULT '',oKRESdO Text (10) DEFAULT "
        "'',KIER_ID int DEFAULT 0,num_ndok int DEFAULT 0,MusiszSprawdzic Logical)");
    Utworz_Index_Unikalny("UnicNumer", "S_Numery_dok",
                          "Dokument,Sm_id,PodziaL,oKRESoD,oKRESdO,KIER_ID");
}

// The gross factor of a production receipt's rate code, as the statement writes it.
constexpr std::array<std::array<const char*, 2>, 3> kStawkiBrutto = {{
    {"1.03", "3"},
    {"1.07", "7"},
    {"1.22", "22"},
}};

// The account segments that become texts, in order.
constexpr std::array<const char*, 3> kSegmentyKonta = {"NR_K_2", "NR_K_3", "NR_K_4"};

// A fixed-asset line's amount as it stands in a search: its text with a point for the
// decimal comma.
std::string Kwota_W_Zapytaniu(const jet::Value& wartosc) {
    return Przecinek_Na_Kropke(wartosc.to_text());
}

// Links the current asset line to the first line that one of the queries finds: its
// Countt into Prod_Countt and rodzaj, the line written at once. True when linked.
bool Polacz_Linie(ClsKonwersje& k, ado::Recordset& linia,
                  std::initializer_list<std::string> zapytania, const char* rodzaj) {
    std::unique_ptr<ado::Recordset> szukaj;
    bool znaleziono = false;
    for (const std::string& z : zapytania) {
        if (k.DbOtwórzSELKonwersje(szukaj, z) >= 1) {
            linia.Fields("Prod_Countt") = szukaj->Fields(0).value();
            linia.Fields("rodzaj") = jet::Value::text(rodzaj);
            linia.UpdateBatch(ado::adAffectCurrent);
            znaleziono = true;
            break;
        }
        k.ZamknijRSKonwersje(szukaj);
    }
    k.ZamknijRSKonwersje(szukaj);
    return znaleziono;
}

}  // namespace

void ClsKonwersje::Konwersja_526() {
    DbWykonaj("Drop table Stany_magazynowe_Z_cena", 1);
    DbWykonaj("Drop table DOK_ZAM_PARAMETRY", 1);
}

void ClsKonwersje::Konwersja_527() {
    Dodaj_Pole("Cenniki_zawart", "Zaznaczone Logical");
    Forma_Platnosci_I_Numery(*this);
}

void ClsKonwersje::Konwersja_528() {
    DbWykonajKonwersje("alter table [DOK_PW_ZAWART] ADD COLUMN WSPRZ_CENA_BRUTTO money");
    DbWykonajKonwersje("alter table [DOK_PW_ZAWART] ADD COLUMN WSPRZ_WARTOSC_BRUTTO money");
    // A net price or quantity not given counts as 0 in the gross price and value.
    for (const auto& [czynnik, stawka] : kStawkiBrutto)
        DbWykonajUPDKonwersje(
            std::string("[DOK_PW_ZAWART] set WSPRZ_CENA_BRUTTO=Nz(ZDDOUT_CENA_N,0)*") + czynnik +
                ",WSPRZ_WARTOSC_BRUTTO=Nz(ZDDOUT_CENA_N,0)*" + czynnik +
                "*Nz(ZDDOUT_ILOSC,0) where ZDDOUT_VAT='" + stawka +
                "' and WSPRZ_CENA_BRUTTO is null",
            "", "", "");
    DbWykonajUPDKonwersje(
        "[DOK_PW_ZAWART] set WSPRZ_CENA_BRUTTO=Nz(ZDDOUT_CENA_N,0),WSPRZ_WARTOSC_BRUTTO=Nz(ZDDOUT_"
        "CENA_N,0)*Nz(ZDDOUT_ILOSC,0) where (ZDDOUT_VAT='0' or ZDDOUT_VAT='zw') and "
        "WSPRZ_CENA_BRUTTO is null",
        "", "", "");
}

void ClsKonwersje::Konwersja_529() {
    Forma_Platnosci_I_Numery(*this);
    Dodaj_Pole("Kontrahenci", "DOzam Logical");
    Utworz_Index("DOzam", "Kontrahenci", "DOzam");
    DbWykonajKonwersje("update Kontrahenci set DoZam=0");
    DbWykonajKonwersje(
        "update KONTRAHENCI set DoZam=-1 where (konh_activ=-1 and (rkonh_nazwa_id='Odbiorca' or "
        "rkonh_nazwa_id='Dostawca i Odbiorca' or rkonh_nazwa_id='Punkt sprzedaży'))");
    Dodaj_Pole("Produkty", "DOzam Logical");
    Utworz_Index("DOzam", "Produkty", "DOzam");
    DbWykonajKonwersje("update Produkty set DoZam=0");
    DbWykonajKonwersje("update Produkty set DoZam=-1 where prod_on=-1 and ACT_SALE=-1");
}

void ClsKonwersje::Konwersja_530() {
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "Imie + ' ' + Nazwisko,nazwisko_uzytkownika from UZYTKOWNICY ");
    for (ado::Recordset& r = kroki::Rekordy(rs); !r.Eof(); r.MoveNext()) {
        // A user without a first name or surname has a Null joined name: it is stored as
        // an empty issuer rather than stopping the conversion.
        std::string wartosc = NzStr(r.Fields(0).value());
        std::string uzytkownik = NzStr(r.Fields(1).value());
        // A joined name or a user's name longer than the setting's column is cut to it,
        // named in the Log with the user.
        const std::string kto = uzytkownik;
        const auto przytnij = [&](std::string& tekst, const char* kolumna) {
            for (const Pole_Tabeli& p :
                 Pola_Tabeli("uzytkownicy_setup").value_or(std::vector<Pole_Tabeli>{}))
                if (jet::text::same_name(p.nazwa, kolumna) && p.rozmiar > 0 &&
                    jet::text::length(tekst) > static_cast<size_t>(p.rozmiar)) {
                    Zapisz_Log_Kroku("Konwersja 5.30: uzytkownicy_setup." + std::string(kolumna) +
                                         " Users = " + kto + ": '" + tekst + "' skrócono do " +
                                         std::to_string(p.rozmiar) + " znaków",
                                     "Konwersja", "5.30");
                    tekst.resize(jet::text::offset_of_char(tekst, static_cast<size_t>(p.rozmiar)));
                }
        };
        przytnij(wartosc, "Wartosc");
        przytnij(uzytkownik, "Users");
        Zapisz_Setup_Uzytkownika("Set_Kto_Wystawia_Dokumenty", wartosc, uzytkownik);
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_531() {
    for (const char* indeks : {"Podstawowy", "NR_K_2", "NR_K_3", "NR_K_4"})
        Usun_Index(indeks, "KH_KONTA");
    for (const char* kol : kSegmentyKonta) Zmien_Typ_Pola(kol, "Text (10) default ''", "kh_konta");
    Utworz_Klucz_Podstawowy("kh_konta", "ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4");
    for (const char* kol : kSegmentyKonta) Utworz_Index(kol, "kh_konta", kol);
    DbWykonajKonwersje(
        "create Table DOK_INN  (DOK_ID int identity,Data SmallDateTime DEFAULT null,Termin "
        "SmallDateTime DEFAULT null,FormaPl Text (1) default '',Numer Text (50) default "
        "'',Rodzaj  Text (50) default '',Opis Text (255) default '',Wart_kp money DEFAULT "
        "0,Wart_fin money DEFAULT 0,konh_id int DEFAULT 0)");
    Utworz_Klucz_Podstawowy("DOK_INN", "DOK_ID");
    Utworz_Index_Unikalny("UnicNumer", "DOK_INN", "Numer", Powtorzona_Wartosc("DOK_INN", "Numer"));
    for (const char* kol : {"Data", "Termin", "FormaPl", "Wart_kp", "Wart_fin"})
        Utworz_Index(kol, "DOK_INN", kol);
}

void ClsKonwersje::Konwersja_532() {
    Dodaj_Pole("DOK_ZAK_ZAWART", "Countt int identity");
    Dodaj_Pole("DOK_KFA_ZAWART", "Countt int identity");
    Dodaj_Pole("SRODKI_TRWALE_ZAWART", "Prod_Countt int DEFAULT 0");
    DbWykonajKonwersje("update SRODKI_TRWALE_ZAWART set prod_countt =0");

    const std::string kolumny =
        "id_dok,id_prod,Wartosc,Prod_Countt,CalyAsortyment,rodzaj from SRODKI_TRWALE_ZAWART "
        "where id_dok<>0";
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, kolumny);
    for (ado::Recordset& r = kroki::Rekordy(rs); !r.Eof(); r.MoveNext()) {
        const jet::Value caly = r.Fields("CalyAsortyment").value();
        const jet::Value wartosc = r.Fields("Wartosc").value();
        // A line without an amount cannot be searched by it, nor one without a product by
        // its product: it stays unlinked here.
        if (caly.is_null() || wartosc.is_null() || r.Fields("id_prod").value().is_null()) continue;
        const std::string baza =
            "Countt from Dok_zak_zawart where Numer_id=" + r.Fields("id_dok").value().to_text() +
            " and sur_ID=" + r.Fields("id_prod").value().to_text();
        const std::string w = Kwota_W_Zapytaniu(wartosc);
        // Of several lines of the purchase that fit, the first entered (the lowest Countt).
        const std::string wart_n = baza + " and Wart_n=" + w + " order by Countt";
        const std::string cena_n = baza + " and Cena_n=" + w + " order by Countt";
        if (kroki::Rowne(caly, -1))
            Polacz_Linie(*this, r, {wart_n, cena_n, baza + " order by Countt"}, "Z");
        else if (kroki::Rowne(caly, 0))
            Polacz_Linie(*this, r, {cena_n, wart_n, baza + " order by Countt"}, "Z");
    }
    ZamknijRSKonwersje(rs);

    DbOtwórzSELKonwersje(rs, kolumny + " and Prod_Countt=0");
    for (ado::Recordset& r = kroki::Rekordy(rs); !r.Eof(); r.MoveNext()) {
        const jet::Value wartosc = r.Fields("Wartosc").value();
        if (wartosc.is_null() || r.Fields("id_prod").value().is_null() ||
            !Polacz_Linie(*this, r,
                          {"Countt from Dok_kza_zawart where FKOROUT_ID=" +
                           r.Fields("id_dok").value().to_text() +
                           " and prod_ID=" + r.Fields("id_prod").value().to_text() +
                           " and ZFKOROUT_CENA_N=" + Kwota_W_Zapytaniu(wartosc)},
                          "K"))
            platform::beep();
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_533() {
    for (const char* t : {"DOK_RW_ZAWART", "DOK_PW_ZAWART"}) {
        Dodaj_Pole(t, "ZDDOUT_CENA_N_2 money DEFAULT 0");
        Dodaj_Pole(t, "WSPRZ_CENA_BRUTTO_2 money DEFAULT 0");
    }
}
