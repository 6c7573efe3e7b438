// Steps 4.62 to 4.66: the unposted monthly turnovers of the accounts at four levels,
// accounts that postings name but the chart lacks, entry error flags, the index rebuild,
// the postings' counter-accounts, the scheme lines' account links, account number texts,
// the recomputation of one year's turnovers (PrzliczKonta2a), the scheme line key, cash
// paid on the books, the register of ledger databases and the payroll rows' groups.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/konta.h"
#include "db/konto_id.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/error.h"
#include "platform/clock.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

std::string Miesiac2(int m) {
    return (m < 10 ? "0" : "") + std::to_string(m);
}

// The four joins of an account with the postings that count towards it: its own, and
// those whose level-1, 2 or 3 parent it is.
constexpr const char* kPoziomy[] = {"countt_konta", "Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2",
                                    "Countt_Konta_Ojaca_3"};

// "UPDATE kh_konta set " and the pairs prefix_wn_mm=0,prefix_ma_mm=0 of months 01 to 12.
std::string Zeruj_Obroty(const std::string& przedrostek) {
    std::string s = "kh_konta set ";
    for (int m = 1; m <= 12; ++m) {
        const std::string mm = Miesiac2(m);
        if (m > 1) s += ",";
        s += "kh_konta." + przedrostek + "wn_" + mm + "=0,kh_konta." + przedrostek + "ma_" + mm +
             "=0";
    }
    return s;
}

// The values that add a posting's amounts to the month's turnover columns (an amount not
// given adds nothing).
std::string Dodaj_Obroty(const std::string& przedrostek, const std::string& mm) {
    const std::string wn = "kh_konta." + przedrostek + "wn_" + mm;
    const std::string ma = "kh_konta." + przedrostek + "ma_" + mm;
    return wn + "=" + wn + "+Nz(kh_dekrety.KWOTA_WN,0)," + ma + "=" + ma +
           "+Nz(kh_dekrety.KWOTA_ma,0)";
}

// An entry whose sides differ, a side not given counting as 0.
constexpr const char* kStronyRozne = "Nz(kh_ksiega.suma_wn,0)<>Nz(kh_ksiega.suma_ma,0)";

struct Indeksy_Tabeli {
    const char* tabela;
    std::initializer_list<const char*> kolumny;  // "!" before a name: a unique index
};

const Indeksy_Tabeli kIndeksy462[] = {
    {"DOK_FIN",
     {"nr_kp", "data", "kwota", "konh_id", "raport_id", "pozycja", "KB", "Prz", "ID_Kasy",
      "kwota_kw", "PW", "Drukowano", "eksportowano", "kierowca_id", "NIEZALEZNE", "Wart_Rozl",
      "ID_KH", "wart_fin"}},
    {"DOK_FIN_ZAWART", {"kp_id", "rodzaj_dok", "dok_id", "!COUNTT"}},
    {"DOK_FRA",
     {"raport_nr", "pozycja", "kwota_kp", "kwota_kw", "bilans", "ID_Kasy", "OPEN_BY", "SALDO",
      "id_kpir"}},
    {"DOK_ZAK",
     {"data_zaksiegowania", "data_zakupu", "data_zaplaty", "RodzDok", "VAT", "WART_N",
      "f_platnosci", "Drukowano", "Wart_Rozl", "id_GRProd", "nr_zM_PROD", "ID_Poszlo_do_zuzycia",
      "ID_Poszlo_na_RW", "id_GrProdPod", "Nr_Wyjazdu", "RozlNieZalDok", "id_kpir",
      "Opis_Zdarzenia"}},
    {"DOK_ZAK_ZAWART",
     {"numer_id", "sur_ID", "ILOSC", "VAT", "ID_poj", "id_kpir", "WtymST", "Nie_Ksieguj",
      "kosztpojazdu_Z", "CENA_N", "!COUNTT", "OdliczVAT_Z", "WART_N", "Koszt_RiR_Z", "koszt_uz_Z",
      "koszt_sz_Z", "Vat_Termin_Platnosci_Z", "Ilosc_Mag", "Ilosc_Na_Magazyn"}},
    {"CENNIKI", {"LCEN_NAZWA_ID", "LCEN_DATA", "ACTIVE"}},
    {"CENNIKI_ZAWART",
     {"LCEN_NAZWA_ID", "PROD_ID", "CEN_NETTO", "Narzut", "CEN_Narzut", "!id", "Cen_Brutto",
      "ID_CENNIKA", "ACTIVE"}},
    {"STANY_MAGAZYNOWE",
     {"prod_id",      "ilosc",     "zakup_il",       "przych_il",     "rozch_il", "Rachunki",
      "RR",           "produkcja", "zuzycie",        "WZ_dost",       "PZ_dost",  "WZ_odbi",
      "PZ_odbi",      "MM",        "inwent",         "Stan",          "NR_MAG",   "!COUNTT",
      "SrodekTrawly", "id_GRProd", "MZ_ILE_ZWROTOW", "MZ_ILE_WYSZLO", "MZ_STAN"}},
    {"SETUP", {"Nazwa", "Wartosc", "USERS", "!COUNTT", "STAN"}},
    {"PRODUKTY",
     {"prod_on", "PROD_NAZWA_id", "act_sale", "act_buy", "act_recipe", "act_to_rec", "rodzaj",
      "Lancz_w", "act_wew", "Grupa_w_zestawieniu", "Lancz_w_dd", "id_GRProd", "id_GrProdPod",
      "WspProd", "Id_GrupaZwrotow", "DataRob"}},
    {"KONTRAHENCI", {"ID_GR_KONH", "ID_GR_Pod_KONH"}},
    {"KH_KSIEGA", {"KWOTA", "Bledy"}},
    {"DRUKARKI", {"Port", "Active"}},
    {"DOK_ZAM_ZAWART", {"ZAM_ID", "prod_id"}},
    {"DOK_ZAM", {"data", "konh_id", "tryb", "kier_id1"}},
};

// A counter-posting's account in a posting's list of counter-accounts, and the list's
// length, its column's.
constexpr const char* kKontoPrzeciwstawne =
    "po.NR_K_1 & '-' & po.NR_K_2 & '-' & po.NR_K_3 & '-' & po.NR_K_4 & ';'";
constexpr int kDlugoscListyKont = 255;

// Counts in the Log the postings of the year rok whose counter-accounts (the other postings
// of the entry; of the same description for kinds 51, 52, 40 and 30; none for 99) do not
// fit in their list.
void Loguj_Za_Dlugie_Listy_Kont(ClsKonwersje& k, const std::string& rok) {
    std::unique_ptr<ado::Recordset> rs;
    const int32_t n = k.DbOtwórzSELKonwersje(
        rs,
        "d.COUNTT from (kh_dekrety as d inner join KH_DEKRETY as po on d.kpir_ID=po.Kpir_id) "
        "inner join KH_KSIEGA as e on e.kpir_ID=d.kpir_ID where e.rok=" +
            rok +
            " and d.COUNTT<>po.COUNTT and Nz(e.rodzaj,0)<>99 and (d.OPIS=po.OPIS or not "
            "(Nz(e.rodzaj,0) in (51,52,40,30))) group by d.COUNTT having Sum(Len(" +
            kKontoPrzeciwstawne + "))>" + std::to_string(kDlugoscListyKont),
        true);
    k.ZamknijRSKonwersje(rs);
    if (n > 0)
        Zapisz_Log_Kroku("Konwersja " + Wersja_Kroku(462) +
                             ": dekrety, których lista kont przeciwstawnych nie mieści się w " +
                             std::to_string(kDlugoscListyKont) +
                             " znakach (konta, które się nie "
                             "zmieściły, pominięto): " +
                             std::to_string(n),
                         "Konwersja", Wersja_Kroku(462));
}

}  // namespace

namespace kroki {

int32_t Rok_Dzisiaj() {
    return platform::today().year;
}

int32_t Rok_Przeliczenia() {
    if (Data_Przeliczenia == 0) return Rok_Dzisiaj();
    return jet::dates::from_serial(Data_Przeliczenia).year;
}

}  // namespace kroki

void ClsKonwersje::Konwersja_462() {
    const std::string rok = std::to_string(kroki::Rok_Przeliczenia());
    for (int m = 0; m <= 12; ++m)
        for (const char* s : {"wn_", "ma_"})
            DbWykonajKonwersje(std::string("alter table [kh_konta] ADD COLUMN [DZ_") +
                               (s[0] == 'w' ? "WN_" : "MA_") + Miesiac2(m) + "] money DEFAULT 0");
    // One account for each missing year and number, whatever contractors its postings
    // name: the lowest of them is the account's, a posting without one, or with one that
    // names no contractor, naming none (0). A posting without its year or a part of its
    // number names no account (none is made for it, which no key of the accounts could
    // take), and the Log counts such postings.
    const std::string bez_konta =
        "d.ROK is null or d.NR_K_1 is null or d.NR_K_2 is null or d.NR_K_3 is null or d.NR_K_4 "
        "is null";
    DbWykonajIINKonwersje(
        "kh_konta (ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4,Nazwa_konta,Typ,Rodzaj,Kartoteka,Konh_id) "
        "select distinctrow d.ROK,d.NR_K_1,d.NR_K_2,d.NR_K_3,d.NR_K_4,'','',1,0,"
        "Min(IIf(c.KONH_ID is null,0,d.Konh_id)) from (kh_dekrety as d left join kh_konta as k "
        "on (d.rok=k.rok) and (d.NR_K_1=k.NR_K_1) and (d.NR_K_2=k.NR_K_2) and "
        "(d.NR_K_3=k.NR_K_3) and (d.NR_K_4=k.NR_K_4)) left join kontrahenci as c on "
        "d.Konh_id=c.KONH_ID where k.NR_K_1 is null and not (" +
        bez_konta + ") group by d.ROK,d.NR_K_1,d.NR_K_2,d.NR_K_3,d.NR_K_4");
    kroki::Loguj_Bez_Wskazania(*this, 462, "dekrety bez roku lub części numeru konta",
                               "kh_dekrety as d where " + bez_konta);
    DbWykonajUPDKonwersje(
        "[KH_KONTA] inner join kontrahenci on kh_konta.konh_id=kontrahenci.konh_id set "
        "kh_konta.nazwa_konta=kontrahenci.KONH_NAZ_SKROT where kh_konta.nazwa_konta=''",
        "", "", "");
    kroki::Typy_Kont(*this);
    kroki::Powiaz_Dekrety_Z_Kontami(*this, true);
    DbWykonajUPDKonwersje(Zeruj_Obroty("dz_"), "", "", "");
    // Each posting adds its amounts once to its account and to each of its parents.
    const Zamierzony_Raport po_dekrecie{jet::reports::Kind::MultiPair};
    for (int m = 1; m <= 12; ++m) {
        const std::string mm = Miesiac2(m);
        for (const char* poziom : kPoziomy)
            DbWykonajUPDKonwersje(
                std::string("kh_konta INNER JOIN kh_DEKRETY ON (kh_konta.countt = kh_DEKRETY.") +
                    poziom + ") and (kh_konta.rok = kh_DEKRETY.rok)" +
                    (poziom == kPoziomy[2] ? " " : "") + " set " + Dodaj_Obroty("dz_", mm) +
                    " Where KH_DEKRETY.MIESIAC=" + std::to_string(m) + " and KH_DEKRETY.Glowna=0",
                "", "", "");
    }
    DbWykonajKonwersje("alter table [kh_ksiega] ADD COLUMN [Bledy] Logical");
    Utworz_Index("Bledy", "kh_ksiega", "Bledy");
    DbWykonajUPDKonwersje("kh_ksiega AS K SET k.Bledy=0", "", "", "");
    DbWykonajUPDKonwersje(
        "kh_ksiega AS K SET k.Bledy=-1 where Nz(k.Suma_wn,0)=0 or Nz(k.Suma_wn,0)<>Nz(k.Suma_ma,0) "
        "and k.Bledy=0",
        "", "", "");
    DbWykonajUPDKonwersje(
        "kh_ksiega AS K inner join kh_dekrety AS D ON (K.kpir_id=D.kpir_id) SET k.Bledy=-1 where "
        "d.countt_konta=0 and k.Bledy=0",
        "", "", "");
    for (const Indeksy_Tabeli& t : kIndeksy462) {
        const std::string tabela = t.tabela;
        if (tabela == "DOK_ZAK")
            DbWykonajKonwersje("alter table [dok_fin] ADD COLUMN [nrBak] Text (50)");
        for (const char* k : t.kolumny) {
            if (k[0] == '!')
                Utworz_Index_Unikalny(k + 1, tabela, k + 1);
            else
                Utworz_Index(k, tabela);
        }
    }

    // Counter-accounts of the postings of the year: the other postings of the same entry
    // (for kinds 51, 52, 40 and 30 only those with the same description; none for 99).
    Zmien_Typ_Pola("Konta_Przeciwstawne", "Text DEFAULT ''", "kh_dekrety");
    DbWykonajUPDKonwersje("kh_dekrety as d set D.Konta_Przeciwstawne='' where d.rok=" + rok, "", "",
                          "");
    // The list is a text for people to read, of the column's 255 characters: an account
    // that would not fit in it whole is left out, and the Log counts the postings whose
    // list lacks some.
    Loguj_Za_Dlugie_Listy_Kont(*this, rok);
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs, "[kpir_ID],rodzaj from [KH_KSIEGA] where rok=" + rok, true) > 0) {
        const std::string wartosc =
            " set D.Konta_Przeciwstawne=IIf(Len(D.Konta_Przeciwstawne & " +
            std::string(kKontoPrzeciwstawne) + ")>" + std::to_string(kDlugoscListyKont) +
            ",D.Konta_Przeciwstawne,D.Konta_Przeciwstawne & " + kKontoPrzeciwstawne +
            ")  Where d.COUNTT<>po.COUNTT and d.kpir_id=";
        // Each other posting of the entry adds its account once to the list.
        const Zamierzony_Raport po_dekrecie{jet::reports::Kind::MultiPair};
        while (!rs->Eof()) {
            const std::string k = NzStr(rs->Fields(0).value());
            const int32_t r = NzLng(rs->Fields(1).value());
            // An entry without an id has no postings of its own.
            if (k.empty()) {
                rs->MoveNext();
                continue;
            }
            if (r == 51 || r == 52 || r == 40 || r == 30)
                DbWykonajUPDKonwersje(
                    "kh_dekrety as D inner join KH_DEKRETY as Po on "
                    "D.kpir_ID=Po.Kpir_id and d.OPIS=po.OPIS" +
                        wartosc + k,
                    "", "", "");
            else if (r != 99)
                DbWykonajUPDKonwersje(
                    "kh_dekrety as D inner join KH_DEKRETY as Po on D.kpir_ID=Po.Kpir_id" +
                        wartosc + k,
                    "", "", "");
            rs->MoveNext();
        }
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_463() {
    // The entries whose sides differ get their postings' amounts added to their sums below,
    // a statement that adds them again when run again. An earlier run that had added the
    // scheme lines' account link (the column comes before it) may have done so, and no fact
    // of the database tells whether it did.
    if (Jest_Tabela("KH_SCHEMATY_ZAWART", "Countt_Konta") &&
        Liczba_Z_Zapytania(std::string("count(*) from kh_ksiega INNER JOIN KH_DEKRETY ON "
                                       "KH_KSIEGA.KPIR_ID=KH_DEKRETY.KPIR_ID where ") +
                           kStronyRozne) > 0)
        Konwersja_Przerwana(463,
                            "po dodaniu kolumny Countt_Konta tabeli KH_SCHEMATY_ZAWART; "
                            "kwoty dekretów mogły zostać już dodane do sum zapisów księgi, "
                            "których strony Wn i Ma się różnią");
    const auto kolumna = [&](const std::string& tabela, const std::string& nazwa,
                             const std::string& typ) {
        DbWykonajKonwersje("alter table [" + tabela + "] ADD COLUMN [" + nazwa + "] " + typ);
        Utworz_Index(nazwa, tabela);
    };
    kolumna("KH_SCHEMATY_ZAWART", "ID_GRUPY", "int DEFAULT 0");
    kolumna("KH_SCHEMATY_ZAWART", "ID_GRUPYprod", "int DEFAULT 0");
    kolumna("KH_SCHEMATY_ZAWART", "Kontr", "Text (50)");
    DbWykonajKonwersje("update KH_SCHEMATY_ZAWART set Kontr=''");
    DbWykonajKonwersje("update KH_SCHEMATY_ZAWART set Kartoteka=' ' where Kartoteka='N'");
    DbWykonajKonwersje(
        "update KH_SCHEMATY_ZAWART set Kontr=Kontr & Kartoteka where Kartoteka<>'P'");
    kolumna("KH_SCHEMATY_ZAWART", "GrupaAsort", "Text (50)");
    kolumna("KH_KONTA", "KONTO", "Text (100)");
    kolumna("KH_KONTA", "Kontr", "Text (1)");
    // A run that stopped after dropping the card-file flag had carried it into Kontr.
    if (Jest_Tabela("KH_KONTA", "Kartoteka"))
        DbWykonajKonwersje(
            "update KH_KONTA set Kontr='K' where Kartoteka=-1 and (Kontr='' or Kontr is null)");
    Usun_Pole("KH_KONTA", "Kartoteka");
    kolumna("KH_DEKRETY", "KONTO", "Text (100)");
    DbWykonajKonwersje("alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Countt_Konta] int DEFAULT 0 ");
    Utworz_Index("Countt_Konta", "KH_SCHEMATY_ZAWART", "Countt_Konta asc");

    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "Konto,NR_K_1,NR_K_2,NR_K_3,NR_K_4 FROM [KH_KONTA] ");
    ado::Recordset& konta = kroki::Rekordy(rs);
    while (!konta.Eof()) {
        Pokaz_Postep("", "", NzStr(konta.Fields(1).value()));
        std::string s[4];
        for (int i = 0; i < 4; ++i) s[i] = NzStr(konta.Fields(1 + i).value());
        konta.Fields(0) = jet::Value::text(Zlacz_Konto(s[0], s[1], s[2], s[3]));
        konta.UpdateBatch(ado::adAffectCurrent);
        konta.MoveNext();
    }
    ZamknijRSKonwersje(rs);

    DbOtwórzSELKonwersje(rs, "Konto,Countt_Konta,rok FROM [KH_SCHEMATY_ZAWART] ");
    ado::Recordset& linie = kroki::Rekordy(rs);
    while (!linie.Eof()) {
        const std::string konto = NzStr(linie.Fields(0).value());
        Pokaz_Postep("", "", konto);
        std::string k1, k2, k3, k4;
        Rozdziel_Konto(konto, k1, k2, k3, k4);
        int32_t id = 0;
        ID_konta(k1, k2, k3, k4, id, NzLng(linie.Fields(2).value()));
        linie.Fields(1) = jet::Value::long_(id);
        linie.UpdateBatch(ado::adAffectCurrent);
        linie.MoveNext();
    }
    ZamknijRSKonwersje(rs);

    {
        // Each posting adds its amounts once to its entry's totals.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(
            "Update kh_ksiega INNER JOIN KH_DEKRETY ON KH_KSIEGA.KPIR_ID=KH_DEKRETY.KPIR_ID set "
            "kh_ksiega.suma_wn=Nz(kh_ksiega.suma_wn,0)+Nz(kh_dekrety.KWOTA_WN,0),"
            "kh_ksiega.suma_ma=Nz(kh_ksiega.suma_ma,0)+Nz(kh_dekrety.KWOTA_ma,0) where " +
            std::string(kStronyRozne));
    }
    PrzliczKonta2a();
}

void ClsKonwersje::PrzliczKonta2a() {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    // The connection's transaction is a savepoint inside the write transaction that the
    // version loop commits after the step: a rollback here undoes the recomputation only.
    Begin_T();
    try {
        const std::string rok = std::to_string(kroki::Rok_Przeliczenia());
        for (const char* przedrostek : {"", "dz_"})
            DbWykonajUPDKonwersje(Zeruj_Obroty(przedrostek) + " Where  kh_konta.rok=" + rok, "", "",
                                  "");
        // Each posting adds its amounts once to its account and to each of its parents.
        const Zamierzony_Raport po_dekrecie{jet::reports::Kind::MultiPair};
        for (int m = 1; m <= 12; ++m) {
            const std::string mm = Miesiac2(m);
            const std::string w_glownej = " Where KH_DEKRETY.MIESIAC=" + std::to_string(m) +
                                          " and KH_DEKRETY.Glowna=-1 and KH_DEKRETY.anulowana=0 "
                                          "and KH_DEKRETY.ROK=" +
                                          rok;
            const std::string poza_glowna = " Where KH_DEKRETY.MIESIAC=" + std::to_string(m) +
                                            " and KH_DEKRETY.Glowna=0 and KH_DEKRETY.ROK=" + rok;
            for (const auto& [przedrostek, warunek] :
                 {std::pair{"", w_glownej}, std::pair{"dz_", poza_glowna}}) {
                for (const char* poziom : kPoziomy) {
                    std::string j =
                        std::string(
                            "kh_konta INNER JOIN kh_DEKRETY ON (kh_konta.countt = kh_DEKRETY.") +
                        poziom + ")";
                    if (poziom == kPoziomy[0] && przedrostek[0] == '\0')
                        j += " and (kh_konta.rok = kh_DEKRETY.rok)";
                    DbWykonajUPDKonwersje(j + " set " + Dodaj_Obroty(przedrostek, mm) + warunek, "",
                                          "", "");
                }
            }
        }
        Commit_T();
    } catch (const jet::Error& e) {
        Wyjątek_Pokaż(e.signed_number(), e.description(),
                      "/Proc:mnuPrzelKonta_Click,ModT:Form,ModN:KH", 0);
        Rollback_T();
    }
}

void ClsKonwersje::Konwersja_464() {
    Utworz_Klucz_Podstawowy("KH_Schematy_Zawart", "SYMBOL_SCH,rok,KONTO,STRONA,COUNTT");
}

void ClsKonwersje::Konwersja_465() {
    DbWykonajKonwersje("alter table [kh_ksiega] ADD COLUMN [Wart_kp] money DEFAULT 0");
    Utworz_Index("Wart_kp", "kh_ksiega");
    DbWykonajKonwersje("alter table [kpir_ksiega] ADD COLUMN [Wart_kp] money DEFAULT 0");
    Utworz_Index("Wart_kp", "kpir_ksiega");
}

void ClsKonwersje::Konwersja_466() {
    DbWykonajKonwersje(
        "create table [KH_BAZY] (ID_BAZY int identity,SIEZKA Text (255),ACTIVE Logical, ROK int "
        "DEFAULT 0,Miesiac int DEFAULT 0)");
    Utworz_Klucz_Podstawowy("KH_BAZY", "ID_BAZY");
    for (const char* i : {"ACTIVE", "ROK", "MIESIAC"}) Utworz_Index(i, "KH_BAZY");
    Utworz_Index_Unikalny("SIEZKA", "KH_BAZY", "SIEZKA");
    DbWykonajKonwersje(
        "INSERT INTO KH_BAZY (ID_BAZY,SIEZKA,ACTIVE,ROK,MIESIAC) VALUES(0,'Główna',-1,0,0)",
        Wiersz_Z_Wczesniejszego_Przebiegu("KH_BAZY where ID_BAZY=0 or SIEZKA='Główna'"));
    DbWykonajKonwersje("alter table [kh_ksiega] ADD COLUMN [ID_BAZY] int DEFAULT 0");
    Utworz_Index("ID_BAZY", "kh_ksiega");
    for (const char* k : {"ROK", "MIESIAC", "ID_BAZY"}) {
        DbWykonajKonwersje(std::string("alter table [Nieruszac] ADD COLUMN [") + k +
                           "] int DEFAULT 0");
        Utworz_Index(k, "Nieruszac");
    }
    DbWykonajKonwersje("alter table [S_GRUPYp]  ADD COLUMN [numer_id_import] int DEFAULT 0");
    DbWykonajKonwersje("alter table [PLACE_DANE]  ADD COLUMN [ID_GRUPY] int DEFAULT 0");

    // Every payroll row takes the group that its employee had at the end of the list's
    // month. A list without a date has no such month, and a row without an employee has no
    // options: such rows keep their group instead of stopping the conversion. Two option
    // rows of one employee and one date: the one entered last (the highest counter) is the
    // latest (kroki::kOpcjeOdNajnowszej), and its group holds, whatever order the table
    // stores them in.
    std::unique_ptr<ado::Recordset> rs;
    std::unique_ptr<ado::Recordset> grupa;
    DbOtwórzSELKonwersje(rs,
                         "PL.datak,PD.id_grupy,PD.idp from place_dane as pd inner join "
                         "place_listy AS pl on pd.idlisty=pl.idlisty");
    ado::Recordset& wiersze = kroki::Rekordy(rs);
    while (!wiersze.Eof()) {
        const jet::Value datak = wiersze.Fields(0).value();
        if (!datak.is_null()) {
            const std::string koniec = DataSQL_Do(Koniec_Miesiaca(datak.to_date()));
            if (DbOtwórzSEL(
                    grupa,
                    "top 1 [ID_GRUPY] from [KADRY_OPCJE] WHERE [DATAOD]<=" + koniec +
                        " AND [ID_prac]=" + std::to_string(NzLng(wiersze.Fields(2).value())) +
                        " ORDER BY " + kroki::kOpcjeOdNajnowszej,
                    kOtworzOdczyt) > 0)
                wiersze.Fields(1) = grupa->Fields(0).value();
            ZamknijRS(grupa);
        }
        wiersze.MoveNext();
    }
    ZamknijRSKonwersje(rs);
}
