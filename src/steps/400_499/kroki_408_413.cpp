// Steps 4.08 to 4.13: the production coefficient and subgroups, payroll values 168 to
// 171, contractor groups and positive cash amounts, old orders removed on request,
// trip numbers, orders for nine delivery routes, and a new index set.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The 17 document headers, in the order in which the steps give them a column.
constexpr const char* kNaglowki[] = {"dok_DD",  "dok_RW",  "dok_FAK", "dok_PAR", "dok_DZ",
                                     "dok_PW",  "dok_PZ",  "dok_WZ",  "dok_KFA", "dok_KZA",
                                     "dok_ZAK", "dok_PRO", "dok_PRS", "dok_PZS", "dok_PFA",
                                     "dok_ZPF", "dok_DAR"};

// An index of 4.13: its name, table and columns.
struct Indeks {
    const char* nazwa;
    const char* tabela;
    const char* kolumny;
};

constexpr Indeks kIndeksyKontrahentow[] = {
    {"indnr_konta_kasowego", "KONTRAHENCI", "nr_konta_kasowego"},
    {"indKONH_NAZ_SKROT", "KONTRAHENCI", "KONH_NAZ_SKROT"},
    {"indkonh_activ", "KONTRAHENCI", "konh_activ"},
    {"indkier_id1", "KONTRAHENCI", "kier_id1"},
    {"indRDOK_NAZWA_ID", "KONTRAHENCI", "RDOK_NAZWA_ID"},
    {"indRKONH_NAZWA_ID", "KONTRAHENCI", "RKONH_NAZWA_ID"},
};

constexpr Indeks kIndeksyStale[] = {
    {"indkier_id", "DOK_FAK", "kier_id"},
    {"indnum_ndok", "DOK_FAK", "num_ndok"},
    {"indid_kpir", "DOK_FAK", "id_kpir"},
    {"KP", "DOK_FAK", "wart_kp,wart_dd"},
    {"BRUTTO", "DOK_FAK", "FAKOUT_WART_N,FAKOUT_WART_VAT"},
    {"indZFAKOUT_VAT", "DOK_FAK_ZAWART", "ZFAKOUT_VAT"},
    {"indZFAKOUT_ILOSC", "DOK_FAK_ZAWART", "ZFAKOUT_ILOSC"},
    {"indNR_KONTA_Fk", "DOK_FIN", "NR_KONTA_Fk"},
    {"indRozlNieZalDok", "DOK_FIN", "RozlNieZalDok"},
    {"KASA", "DOK_FIN", "konh_id,ID_Kasy"},
    {"RODZAJ", "DOK_FIN", "nr_kp,KB,PW"},
    {"RAPORT", "DOK_FIN", "raport_id,pozycja,data"},
    {"indkwota", "DOK_FIN_ZAWART", "kwota"},
    {"DOKUMENT", "DOK_FIN_ZAWART", "rodzaj_dok,dok_id,kp_id"},
    {"indROK", "DOK_FRA", "ROK"},
    {"indDataKasyBanku", "DOK_FRA", "DataKasyBanku"},
    {"indKB", "DOK_FRA", "KB"},
    {"KASA", "DOK_FRA", "ID_Kasy,raport_id"},
    {"indkonh_id", "DOK_ZAK", "konh_id"},
    {"KP", "DOK_ZAK", "wart_kp"},
    {"indnum_ndok", "DOK_ZAK", "num_ndok"},
    {"indnumer_dokumentu", "DOK_ZAK", "numer_dokumentu"},
    {"indZbiorcza", "DOK_ZAK", "Zbiorcza"},
    {"indrodzaj_dok", "DOK_ZAK", "rodzaj_dok"},
};

// The legacy indexes of 4.12: a table and its index names.
struct Stare_Indeksy {
    const char* tabela;
    std::initializer_list<const char*> nazwy;
};

const Stare_Indeksy kStareIndeksy[] = {
    {"KONTRAHENCI", {"d1", "d2", "d3", "d4", "d5", "ddd", "ddd2"}},
    {"Dok_Zam_Zawart", {"d1"}},
    {"Dok_DD", {"d1", "d2", "d3", "d4", "d7", "dddd"}},
    {"Dok_DD_ZAWART", {"d1", "d2"}},
    {"Dok_DZ", {"d1", "d2", "d3", "d4", "d7", "ddd"}},
    {"Dok_DZ_ZAWART", {"d1", "d2"}},
    {"Dok_RW", {"d1", "d2", "d3"}},
    {"Dok_FAK", {"d1", "d2", "d3", "d4", "d5"}},
    {"Dok_FIN", {"d1", "d2", "d3", "d4", "d5"}},
    {"Dok_FIN_ZAWART", {"d2", "ddd"}},
    {"Dok_FRA", {"d1", "d2", "d3", "d4"}},
    {"Dok_ZAK", {"d1", "d2", "d3", "d4", "d5", "d6"}},
};

std::string Dodaj(const std::string& tabela, const std::string& kolumna, const std::string& typ) {
    return "alter table  [" + tabela + "] ADD COLUMN [" + kolumna + "] " + typ;
}

// Moves a column to a new name through Zmien_Typ_Pola while the old column is there, or
// while the table holds the temporary column of a move that a stopped run left. A step
// run again after the move finds it gone and leaves the moved values alone (the routine
// would otherwise fill the new column from a copy of nothing).
void Przenies_Pole(ClsKonwersje& k, const std::string& kolumna, const std::string& typ,
                   const std::string& tabela, std::string nowa) {
    std::unique_ptr<ado::Recordset> proba;
    const int32_t n = k.DbOtwórzSELKonwersje(proba, "top 1 [" + kolumna + "] from " + tabela, true);
    k.ZamknijRSKonwersje(proba);
    if (n >= 0 || Jest_Kolumna_Tymczasowa(tabela)) k.Zmien_Typ_Pola(kolumna, typ, tabela, nowa);
}

}  // namespace

void ClsKonwersje::Konwersja_408() {
    DbWykonajKonwersje("alter table  [produkty] ADD COLUMN [WspProd] Single DEFAULT 0");
}

void ClsKonwersje::Konwersja_409() {
    DbWykonajKonwersje(Dodaj("S_GRUPY_PRODUKCYJNE", "id_GrProdPod", "int DEFAULT 0"));
    DbWykonajKonwersje(Dodaj("S_GRUPY_PRODUKCYJNE", "Zuzycie", "Logical"));
    DbWykonajKonwersje(
        "update [S_GRUPY_PRODUKCYJNE] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null");
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN [id_GrProdPod] int DEFAULT 0");
    DbWykonajKonwersje(
        "update [PRODUKTY] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null");
    for (const std::string t : kNaglowki) {
        DbWykonajKonwersje(Dodaj(t, "id_GrProdPod", "int DEFAULT 0"));
        DbWykonajKonwersje("update [" + t +
                           "] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null");
    }
}

void ClsKonwersje::Konwersja_410() {
    for (int n = 168; n <= 171; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                           "]  money DEFAULT 0");
}

void ClsKonwersje::Konwersja_411() {
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [ID_GR_KONH]  int DEFAULT 0");
    DbWykonajKonwersje(
        "Create table [S_Grupy_Kontrahentow] (id_GRKonh int identity,Grupa_Konh Text (50))");
    Utworz_Klucz_Podstawowy("S_Grupy_Kontrahentow", "id_GRKonh asc");
    Utworz_Klucz_Podstawowy("S_Grupy_Kontrahentow", "Grupa_Konh asc");
    DbWykonajKonwersjeNoErr(
        "insert into [S_Grupy_Kontrahentow] (id_GRKonh,Grupa_Konh) values (0,'Podstawowa')",
        Wiersz_Z_Wczesniejszego_Przebiegu(
            "[S_Grupy_Kontrahentow] where id_GRKonh=0 or Grupa_Konh='Podstawowa'"));
    DbWykonajUPDKonwersje(
        "dok_fin_zawart set dok_fin_zawart.kwota=-dok_fin_zawart.kwota where "
        "dok_fin_zawart.kwota<0",
        "", "", "");
    DbWykonajUPDKonwersje("dok_fin set kwota=-kwota where kwota<0", "", "", "");
    DbWykonajUPDKonwersje("dok_fin set kwota_Kw=-kwota_KW where kwota_KW<0", "", "", "");
    DbWykonajUPDKonwersje("DOK_FIN set Wart_Rozl=0", "", "", "");
    {
        // Each settling line adds its amount once to its cash document.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
            "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+Nz([Dok_fin_zawart].[kwota],0)",
            "", "", "");
    }
}

void ClsKonwersje::Konwersja_412() {
    // Orders up to the end of the month of a hundred days ago go only when the user says so.
    kroki::Usun_Zamowienia_Do(*this, Koniec_Miesiaca(kroki::Dzisiaj() - 100));

    for (const Stare_Indeksy& s : kStareIndeksy)
        for (const char* n : s.nazwy)
            DbWykonajKonwersje(std::string("drop INDEX ") + n + " ON " + s.tabela);

    DbWykonajKonwersje("UPDATE DOk_FIN Set DOk_FIN.NIEZALEZNE=0");
    DbWykonajKonwersje(
        "UPDATE DOk_FIN left join dok_fin_zawart on DOk_FIN.kp_id=dok_fin_zawart.kp_id Set "
        "DOk_FIN.NIEZALEZNE=1 where dok_fin_zawart.kp_id is null or dok_fin_zawart.kp_id=0");

    for (const std::string t : kNaglowki) {
        DbWykonajKonwersje(Dodaj(t, "Nr_Wyjazdu", "int DEFAULT 0"));
        DbWykonajKonwersje("update [" + t + "] set [Nr_Wyjazdu]=1 where [Nr_Wyjazdu] is null");
    }

    // Nine delivery routes: a driver per route and per delivery slot on orders, a
    // quantity per slot on order lines and templates.
    for (int i = 1; i <= 9; ++i) {
        const std::string n = std::to_string(i);
        for (const char* k : {"kier_id", "kier_id10", "kier_id20"})
            DbWykonajKonwersje("alter table DOK_ZAM ADD COLUMN " + std::string(k) + n +
                               " int DEFAULT 0");
        for (const char* t : {"DOK_ZAM_ZAWART", "ZAMOWIENIA_SZABLON"})
            for (const char* k : {"ilosc10", "ilosc20"})
                DbWykonajKonwersje("alter table " + std::string(t) + " ADD COLUMN " + k + n +
                                   " Single DEFAULT 0");
        for (const char* t : {"dok_zam_Zawart", "ZAMOWIENIA_SZABLON"})
            for (const char* k : {"ilosc10", "ilosc20"})
                DbWykonajUPDKonwersje("", t, k + n + "=0", "");
    }
    Przenies_Pole(*this, "kier_id", "int DEFAULT 0", "kontrahenci", "kier_id1");
    CzekajKonwersje(2);

    // Each order takes its contractor's driver of each route; a route without a driver
    // of its own falls back to the contractor's route-1 driver.
    const std::string zlaczenie =
        "dok_zam inner join kontrahenci on kontrahenci.konh_id=dok_zam.konh_id";
    for (int i = 1; i <= 9; ++i) {
        const std::string n = std::to_string(i);
        DbWykonajUPDKonwersje("", zlaczenie,
                              "dok_zam.kier_id" + n + " =kontrahenci.kier_id" + n +
                                  ",dok_zam.kier_id10" + n + " =kontrahenci.kier_id" + n +
                                  ",dok_zam.kier_id20" + n + " =kontrahenci.kier_id" + n,
                              "");
        if (i > 1)
            DbWykonajUPDKonwersje(
                "", zlaczenie,
                "dok_zam.kier_id" + n + " =kontrahenci.kier_id1,dok_zam.kier_id10" + n +
                    " =kontrahenci.kier_id1,dok_zam.kier_id20" + n + " =kontrahenci.kier_id1",
                "dok_zam.kier_id" + n + "=0");
    }

    Przenies_Pole(*this, "ilosc", "Single DEFAULT 0", "Dok_Zam_Zawart", "ilosc1");
    Przenies_Pole(*this, "ilosc", "Single DEFAULT 0", "ZAMOWIENIA_SZABLON", "ilosc1");
    Przenies_Pole(*this, "TEKST", "Text DEFAULT ''", "ZAMOWIENIA_KOMENTARZE", "TEKST1");
    Przenies_Pole(*this, "nr_zamowienia", "Text  (50)", "ZAMOWIENIA_KOMENTARZE", "nr_zamowienia1");
}

void ClsKonwersje::Konwersja_413() {
    for (const Indeks& i : kIndeksyKontrahentow)
        DbWykonajKonwersjeNoErr(std::string("create index ") + i.nazwa + " ON " + i.tabela + " (" +
                                i.kolumny + ")");
    DbWykonajKonwersjeNoErr("create index Kasa ON KONTRAHENCI  (RKONH_NAZWA_ID,id_kasy,Rodz)");
    for (const std::string t :
         {"DOK_DD", "DOK_DZ", "DOK_RW", "DOK_PW", "DOK_PAR", "DOK_WZ", "DOK_PZ", "DOK_PFA"}) {
        DbWykonajKonwersjeNoErr("create index KP ON " + t + " (wart_kp)");
        DbWykonajKonwersjeNoErr("create index indDDOUT_DO_ROZLICZENIA ON " + t +
                                " (DDOUT_DO_ROZLICZENIA)");
        DbWykonajKonwersjeNoErr("create index indnum_ndok ON " + t + " (num_ndok)");
        DbWykonajKonwersjeNoErr("create index indkier_id ON " + t + " (kier_id)");
        DbWykonajKonwersjeNoErr("create index BRUTTO ON " + t + " (DDOUT_WART_N,DDOUT_wart_VAT)");
        DbWykonajKonwersjeNoErr("create index ZBIORCZY ON " + t + " (Zbiorczy_id,DDOUT_ID)");
        DbWykonajKonwersjeNoErr("create index indZDDOUT_VAT ON " + t + "_ZAWART (ZDDOUT_VAT)");
        DbWykonajKonwersjeNoErr("create index indZDDOUT_ILOSC ON " + t + "_ZAWART (ZDDOUT_ILOSC)");
    }
    for (const Indeks& i : kIndeksyStale)
        DbWykonajKonwersjeNoErr(std::string("create index ") + i.nazwa + " ON " + i.tabela + " (" +
                                i.kolumny + ")");
}
