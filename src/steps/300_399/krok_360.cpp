// Step 3.60: the contract terms get a text of other terms, and every index of the
// schema is built again: the plain "ind" indexes dropped, the documents' unique number
// indexes, the primary keys and the named unique indexes created, and a plain index
// made on every column whose name marks it as an id, number, name, date or code, or
// that is Yes/No. An index that cannot be built is skipped.
#include <string>
#include <string_view>

#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

// A primary key; a header with a line table gives the line table (the header's name
// followed by "_ZAWART") the header's key followed by the line columns.
struct Klucz {
    const char* tabela;
    const char* pola;
    const char* pola_zawartosci;  // nullptr: no line table
};

constexpr Klucz kKlucze[] = {
    {"CENNIKI", "LCEN_NAZWA_ID asc", "PROD_ID asc"},
    {"deklaracje", "id asc", "typ asc"},
    {"DOK_DD", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_DZ", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_fak", "FAKOUT_ID asc", nullptr},
    {"DOK_FAK_ZAWART", "FAKOUT_ID asc,PROD_ID asc,ZFAKOUT_CENA_N asc", nullptr},
    {"DOK_fin", "kp_id asc", "rodzaj_dok asc,dok_id asc"},
    {"DOK_fra", "raport_id asc", nullptr},
    {"DOK_kfa", "FKOROUT_ID asc", nullptr},
    {"DOK_KFA_ZAWART", "FKOROUT_ID asc, PROD_ID asc, ZFKOROUT_CENA_N asc,CENA_ORG asc", nullptr},
    {"DOK_kza", "FKOROUT_ID asc", nullptr},
    {"DOK_KZA_ZAWART", "FKOROUT_ID asc, PROD_ID asc, ZFKOROUT_CENA_N asc,CENA_ORG asc", nullptr},
    {"DOK_PAR", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_pro", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_PRO_ZAWART_SUROWCE", "ddout_id asc,Prod_id asc,sur_id asc", nullptr},
    {"DOK_pw", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_pz", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_rw", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_wz", "DDOUT_ID asc", "PROD_ID asc"},
    {"DOK_zak", "numer_id asc", "sur_ID asc"},
    {"DOK_zam", "zam_id asc", "prod_ID asc"},
    {"drukarki", "id asc", nullptr},
    {"kadry_adresy", "ID_prac asc,Rodzaj asc", nullptr},
    {"KADRY_NIEOBECNOSCI", "ID_prac asc,ID_Nieob asc,Dataod asc", nullptr},
    {"KADRY_pracownicy", "id asc", nullptr},
    {"kasybanki", "ID_Kasy asc", nullptr},
    {"KONTRAHENCI", "KONH_ID asc", nullptr},
    {"KPIR_KSIEGA", "kpir_id asc", nullptr},
    {"KPIR_OKRESY", "rok asc,miesiac asc", nullptr},
    {"NUMERY_OST_DOK_NAG", "dokument asc", nullptr},
    {"OKRESY_ROZLICZEN", "Nazwa asc", nullptr},
    {"PLACE_DANE", "IDP asc,IDListy asc", nullptr},
    {"PLACE_LISTY", "IDListy asc", nullptr},
    {"PLACE_opisy", "pole asc", nullptr},
    {"PLACE_PARAMETRY", "id asc,dataod", nullptr},
    {"POJAZDY", "id asc", nullptr},
    {"PRODUKTY", "PROD_ID asc", nullptr},
    {"PRODUKTY_RECEPTURY", "PROD_ID asc,sur_id asc", nullptr},
    {"SETUP", "Nazwa asc,Users asc,Stan asc", nullptr},
    {"SPOSOB_NUMERACJI", "sm_id asc", nullptr},
    {"SPOSOB_NUMERACJI_ZAWART", "sm_id asc,rok asc,miesiac asc,kierowca_id asc", nullptr},
    {"SRODKI_TRWALE", "id asc", "rok asc,miesiac asc"},
    {"STANY_MAGAZYNOWE", "prod_id asc,NR_MAG asc", nullptr},
    {"S_GRUPY", "Nazwa asc", nullptr},
    {"S_JEDNOSTKI", "JED_NAZWA_ID asc", nullptr},
    {"S_KIEROWCY", "kier_id asc", nullptr},
    {"S_POJAZDY_PRZEJ", "id_poj asc,id_p asc", nullptr},
    {"S_STAWKIKM", "id asc,DataOd asc,Ponizej900 asc", nullptr},
    {"S_TRASY", "id asc", nullptr},
    {"S_US", "id asc", nullptr},
    {"S_VAT_STAWKI", "STVAT_ID asc", nullptr},
    {"UZYTKOWNICY", "nazwisko_uzytkownika asc", nullptr},
    {"UZYTKOWNICY_PRAWA", "p_id asc,p_login asc,Prawo asc", nullptr},
    {"ZAMOWIENIA_SZABLON", "konh_id asc,dzien asc,prod_id asc", nullptr},
    {"ZAMOWIENIA_KOMENTARZE", "Data asc,konh_id asc", nullptr},
};

struct Indeks {
    const char* nazwa;
    const char* tabela;
    const char* pola;
};

// Made before the stock rows of product 0 are deleted.
constexpr Indeks kIndeksyPrzed[] = {
    {"CzyZbiorcza", "DOK_FAK", "FAKOUT_ZBIORCZA asc,konh_id asc,FAKOUT_ID desc"},
    {"DoKopZamowien", "ZAMOWIENIA_SZABLON", "dzien asc,konh_id asc,prod_id asc"},
    {"Cennik", "kontrahenci", "KONH_NAZ_skrot asc,LCEN_NAZWA_ID asc,konh_id desc"},
};

// Made after; the first one takes the place of the stock table's primary key.
constexpr Indeks kIndeksyPo[] = {
    {"Podstawowy", "STANY_MAGAZYNOWE", "prod_id asc"},
    {"DataKonh", "Dok_zam", "data asc,konh_id asc,zam_id asc"},
    {"prod_onACT_SALE", "Produkty", "prod_on asc,ACT_SALE asc,prod_numer_id asc"},
    {"prod_onACT_buy", "Produkty", "prod_on asc,ACT_buy asc,prod_numer_id asc"},
    {"prod_numer_id", "Produkty", "prod_numer_id asc"},
    {"DoZamowien", "Dok_zam", "konh_id asc,zam_id asc,data asc"},
    {"DoZamowien", "Dok_fak", "konh_id asc,zam_id asc,fakout_id asc"},
    {"DoZamowien", "Dok_dd", "konh_id asc,zam_id asc,ddout_id asc"},
    {"DoZamowien", "Dok_RW", "konh_id asc,zam_id asc,ddout_id asc"},
    {"DoZamowien", "Dok_par", "konh_id asc,zam_id asc,ddout_id asc"},
    {"DoZamowien2", "Dok_fak", "FAKOUT_DATA_WYST asc,konh_id asc,fakout_id asc"},
    {"DoZamowien2", "Dok_kfa", "FKOROUT_DATA_WYST asc,konh_id asc,fkorout_id asc"},
    {"DoZamowien2", "Dok_kza", "FKOROUT_DATA_WYST asc,konh_id asc,fkorout_id asc"},
    {"DoZamowien2", "Dok_dd", "DDOUT_DATA_WYST asc,konh_id asc,ddout_id asc"},
    {"DoZamowien2", "Dok_dz", "DDOUT_DATA_WYST asc,konh_id asc,ddout_id asc"},
    {"DoZamowien2", "Dok_par", "DDOUT_DATA_WYST asc,konh_id asc,ddout_id asc"},
    {"DoZamowien2", "Dok_RW", "DDOUT_DATA_WYST asc,konh_id asc,ddout_id asc"},
    {"DoZamowien2", "Dok_pW", "DDOUT_DATA_WYST asc,konh_id asc,ddout_id asc"},
    {"zakup_il", "[STANY_MAGAZYNOWE]", "zakup_il asc,prod_id asc"},
    {"RACHUNKI", "[STANY_MAGAZYNOWE]", "RACHUNKI asc,prod_id asc"},
    {"RR", "[STANY_MAGAZYNOWE]", "RR asc,prod_id asc"},
    {"WZ_dost", "[STANY_MAGAZYNOWE]", "WZ_dost asc,prod_id asc"},
    {"PZ_dost", "[STANY_MAGAZYNOWE]", "PZ_dost asc,prod_id asc"},
    {"mm", "[STANY_MAGAZYNOWE]", "mm asc,prod_id asc"},
    {"rozch_il", "[STANY_MAGAZYNOWE]", "rozch_il asc,prod_id asc"},
    {"przych_il", "[STANY_MAGAZYNOWE]", "przych_il asc,prod_id asc"},
    {"ilosc", "[STANY_MAGAZYNOWE]", "ilosc asc,prod_id asc"},
    {"WZ_odbi", "[STANY_MAGAZYNOWE]", "WZ_odbi asc,prod_id asc"},
    {"PZ_odbi", "[STANY_MAGAZYNOWE]", "PZ_odbi asc,prod_id asc"},
    {"zuzycie", "[STANY_MAGAZYNOWE]", "zuzycie asc,prod_id asc"},
    {"produkcja", "[STANY_MAGAZYNOWE]", "produkcja asc,prod_id asc"},
    {"SrodekTrawly", "[STANY_MAGAZYNOWE]", "SrodekTrawly asc,prod_id asc"},
    {"stan", "[STANY_MAGAZYNOWE]", "stan asc,prod_id asc"},
    {"Inwent", "[STANY_MAGAZYNOWE]", "Inwent asc,prod_id asc"},
    {"Nr_mag", "[STANY_MAGAZYNOWE]", "Nr_mag asc,prod_id asc"},
    {"DONumeru", "Dok_pw", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_rw", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_DZ", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_PZ", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_WZ", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_DD", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_Par", "smz_id asc,ddout_data_wyst asc,num_ndok asc,ddout_id asc"},
    {"DONumeru", "Dok_fak", "smz_id asc,FAKOUT_DATA_WYST asc,num_ndok asc,fakout_id asc"},
    {"DONumeru", "Dok_kfa", "smz_id asc,FKOROUT_DATA_WYST asc,num_ndok asc,fkorout_id asc"},
    {"DONumeru", "Dok_kza", "FKOROUT_DATA_WYST asc,fkorout_numer asc,num_ndok asc"},
    {"DONumeru", "Dok_zak", "data_zaksiegowania asc,num_ndok asc,numer_id asc"},
    {"DoCzyTowHan", "Dok_zak_zawart", "Sur_id asc,Numer_id asc"},
    {"DoCzyTowHan", "Produkty", "rodzaj asc,STVAT_ID asc,Prod_id asc"},
    {"DoCzyTowHan", "CENNIKI_ZAWART", "Prod_id asc,LCEN_NAZWA_ID asc"},
};

// A column that gets the plain index "ind" & its name: one whose upper-cased name holds
// an id, number, name, date or code part, or a Yes/No column.
bool Kolumna_Z_Indeksem(const std::string& nazwa, int typ) {
    constexpr int kDbBoolean = 1;
    if (typ == kDbBoolean) return true;
    const std::string wielkie = jet::text::upper(nazwa);
    for (std::string_view czesc : {"ID", "NUMER", "NAZWA", "NR", "DATA", "KOD"})
        if (wielkie.find(czesc) != std::string::npos) return true;
    return false;
}

}  // namespace

void ClsKonwersje::Konwersja_360() {
    DbWykonajKonwersje(std::string("alter table [KADRY_WARUNKI] ") + "ADD COLUMN" +
                       " Inne_war text(80)");
    DbWykonajKonwersje("Update [KADRY_WARUNKI] set Inne_war='' where Inne_war is null");

    // Every plain column index goes; a column without one simply fails.
    kroki::Przebieg_DAO(*this, [this](dao::TableDef& td) {
        const std::string tabela = td.Name();
        Pokaz_Postep("", "", tabela);
        const int pol = td.FieldCount();
        for (int i = 0; i < pol; ++i) {
            const std::string pole = td.Fields(i).Name();
            Pokaz_Postep("", "", tabela + " " + pole);
            DbWykonajDAOKonwersje("drop index ind" + pole + " on " + tabela);
        }
    });

    kroki::Utworz_Indeksy_UnicNumer(*this, true);

    // A stock row of no product goes below; one whose product is not given goes before the
    // keys, whose primary key over the product takes no Null, named in the Log.
    kroki::Loguj_Usuwane(*this, 360, "stany magazynowe bez produktu (usunięte)",
                         "STANY_MAGAZYNOWE where prod_id is null", {"NR_MAG", "ilosc"});
    DbWykonajKonwersje("delete from STANY_MAGAZYNOWE where prod_id is null");
    for (const Klucz& klucz : kKlucze) {
        if (klucz.pola_zawartosci)
            Utworz_Klucze_Z_Zawart(klucz.tabela, klucz.pola, klucz.pola_zawartosci);
        else
            Utworz_Klucz_Podstawowy(klucz.tabela, klucz.pola, 0);
    }

    for (const Indeks& i : kIndeksyPrzed) Utworz_Index_Unikalny(i.nazwa, i.tabela, i.pola, 0);
    // The stock rows of product 0 go, and so do those whose product id names no product:
    // an id that names nothing is no product, as 0 is. The Log counts the latter.
    DbWykonajKonwersje("delete from STANY_MAGAZYNOWE where prod_id=0");
    if (Jest_Tabela("PRODUKTY")) {
        const std::string bez_produktu =
            "STANY_MAGAZYNOWE LEFT JOIN PRODUKTY ON STANY_MAGAZYNOWE.prod_id=PRODUKTY.prod_id "
            "where PRODUKTY.prod_id is null";
        kroki::Loguj_Bez_Wskazania(
            *this, 360, "stany magazynowe produktów, których nie ma (usunięte)", bez_produktu);
        DbWykonajKonwersje("delete STANY_MAGAZYNOWE.* from " + bez_produktu);
    }
    for (const Indeks& i : kIndeksyPo) Utworz_Index_Unikalny(i.nazwa, i.tabela, i.pola, 0);

    kroki::Przebieg_DAO(*this, [this](dao::TableDef& td) {
        const std::string tabela = td.Name();
        Pokaz_Postep("", "", tabela);
        const int pol = td.FieldCount();
        for (int i = 0; i < pol; ++i) {
            const dao::Field pole = td.Fields(i);
            const std::string nazwa = pole.Name();
            if (!Kolumna_Z_Indeksem(nazwa, pole.Type())) continue;
            Pokaz_Postep("", "", tabela + " " + nazwa);
            DbWykonajDAOKonwersje("create index ind" + nazwa + " on " + tabela + " (" + nazwa +
                                  " asc)");
        }
    });
}
