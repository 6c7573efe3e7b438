// Steps 4.58 to 4.61: the book flags on postings, the parent accounts of every account
// and posting (with the account lookup ID_konta2), book entry kinds and sums, account
// types and the ledger's search indexes.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "db/konta.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The UPDATE that gives every posting its account and the account's parents: the join
// of a posting (D) with the account (K) of its year and number, and the values it sets
// (a parent that the account does not give is none, 0).
constexpr const char* kDekretKonta =
    "kh_dekrety AS D inner join kh_KONTA AS K ON (D.NR_K_1=K.NR_K_1) AND (D.NR_K_2=K.NR_K_2) "
    "AND (D.NR_K_3=K.NR_K_3) AND (D.NR_K_4=K.NR_K_4) AND (D.ROK=K.ROK)";
constexpr const char* kKontoDekretu =
    " SET D.Countt_Konta=K.COUNTT,D.Countt_Konta_Ojaca_1=Nz(K.Countt_Konta_Ojaca_1,0),"
    "D.Countt_Konta_Ojaca_2=Nz(K.Countt_Konta_Ojaca_2,0),D.Countt_Konta_Ojaca_3=Nz(K.Countt_"
    "Konta_Ojaca_3,0) ";
// An account (K2) of the same year and number as K, entered before it.
constexpr const char* kWczesniejszeKonto =
    "kh_KONTA AS K2 ON (K2.NR_K_1=K.NR_K_1) AND (K2.NR_K_2=K.NR_K_2) AND (K2.NR_K_3=K.NR_K_3) "
    "AND (K2.NR_K_4=K.NR_K_4) AND (K2.ROK=K.ROK) AND (K2.COUNTT<K.COUNTT)";

// The account types, after "UPDATE ": level-1 accounts without a card file, level-1
// accounts with sub-accounts, level-2 and level-3 accounts with sub-accounts.
constexpr const char* kTypyKont[] = {
    "[KH_KONTA] set Typ='B' where NR_K_2='' and Kartoteka=0",
    "[KH_KONTA] inner join [KH_KONTA] as kk on [KH_KONTA].NR_K_1=kk.NR_K_1 set kk.Typ='S' Where "
    "[KH_KONTA].NR_K_2<>kk.NR_K_2 and kk.NR_K_2=''",
    "[KH_KONTA] inner join [KH_KONTA] as kk on ([KH_KONTA].NR_K_1=kk.NR_K_1) and "
    "([KH_KONTA].NR_K_2=kk.NR_K_2) set kk.Typ='P' Where [KH_KONTA].NR_K_3<>kk.NR_K_3 and "
    "kk.NR_K_2<>'' and kk.NR_K_3=''",
    "[KH_KONTA] inner join [KH_KONTA] as kk on ([KH_KONTA].NR_K_1=kk.NR_K_1) and "
    "([KH_KONTA].NR_K_2=kk.NR_K_2) and ([KH_KONTA].NR_K_3=kk.NR_K_3) set kk.Typ='P' Where "
    "[KH_KONTA].NR_K_4<>kk.NR_K_4 and kk.NR_K_3<>'' and kk.NR_K_4=''",
};

constexpr const char* kRokMiesiacKsiegi =
    "Update KH_Ksiega set rok=format([data],'yyyy'),MIESIAC=format([data],'MM')";

// One plain index per column, named as the column.
struct Indeksy_Kolumn {
    const char* tabela;
    std::initializer_list<const char*> kolumny;
};

}  // namespace

namespace kroki {

void Typy_Kont(ClsKonwersje& k) {
    for (const char* s : kTypyKont) k.DbWykonajUPDKonwersje(s, "", "", "");
}

void Powiaz_Dekrety_Z_Kontami(ClsKonwersje& k, bool przez_upd) {
    // A chart that holds an account of one year and number twice (it has no key before
    // this step makes one) gives the postings of that number its first account, the
    // lowest Countt, so that each posting takes one account.
    const Pierwszy_Wiersz p =
        Tylko_Pierwszy_Wiersz(k, "kh_KONTA AS K", kWczesniejszeKonto, "K2.COUNTT");
    const std::string polecenie = p.otworz() + kDekretKonta + p.zamknij() + kKontoDekretu +
                                  (p.warunek.empty() ? "" : "WHERE " + p.warunek);
    if (przez_upd)
        k.DbWykonajUPDKonwersje(polecenie, "", "", "");
    else
        k.DbWykonajKonwersje("Update " + polecenie);
}

}  // namespace kroki

void ClsKonwersje::ID_konta2(std::string& k1, std::string& k2, std::string& k3, std::string& k4,
                             int32_t& id, int32_t& ojciec1, int32_t& ojciec2, int32_t& ojciec3,
                             int32_t rok) {
    id = ojciec1 = ojciec2 = ojciec3 = 0;
    // Segments go between apostrophes doubled, so that a segment holding one stays a text.
    const std::string s1 = kroki::W_Apostrofach(k1), s2 = kroki::W_Apostrofach(k2),
                      s3 = kroki::W_Apostrofach(k3), s4 = kroki::W_Apostrofach(k4);
    const std::string glowa = "top 1 Countt FROM [KH_KONTA] where [KH_KONTA].NR_K_1= '" + s1;
    const std::string r = std::to_string(rok);
    std::unique_ptr<ado::Recordset> rs;
    // Of an account that the chart holds twice, the first copy, the lowest Countt.
    const auto szukaj = [&](const std::string& tekst, int32_t& wynik) {
        if (DbOtwórzSEL(rs, tekst + " order by Countt", kOtworzOdczyt) > 0)
            wynik = NzLng(rs->Fields(0).value());
    };
    szukaj(glowa + "' and [KH_KONTA].NR_K_2='" + s2 + "' and [KH_KONTA].NR_K_3='" + s3 +
               "' and [KH_KONTA].NR_K_4='" + s4 + "' and rok=" + r,
           id);
    szukaj(glowa +
               "' and [KH_KONTA].NR_K_2='' and [KH_KONTA].NR_K_3='' and [KH_KONTA].NR_K_4='' and "
               "rok=" +
               r,
           ojciec1);
    szukaj(glowa + "' and [KH_KONTA].NR_K_2='" + s2 +
               "' and [KH_KONTA].NR_K_3='' and [KH_KONTA].NR_K_4='' and rok=" + r,
           ojciec2);
    szukaj(glowa + "' and [KH_KONTA].NR_K_2='" + s2 + "' and [KH_KONTA].NR_K_3='" + s3 +
               "' and [KH_KONTA].NR_K_4='' and rok=" + r,
           ojciec3);
    ZamknijRS(rs);
    if (ojciec1 == id) ojciec1 = 0;
    if (ojciec2 == id) ojciec2 = 0;
    if (ojciec3 == id) ojciec3 = 0;
}

void ClsKonwersje::Konwersja_458() {
    DbWykonajKonwersje("alter table [KH_DEKRETY] ADD COLUMN [Glowna] Logical ");
    DbWykonajKonwersje("alter table [KH_DEKRETY] ADD COLUMN [Anulowana] Logical ");
    DbWykonajKonwersje("alter table [KH_DEKRETY] ADD COLUMN [Dziennik] Text (50) ");
    // kpir_id is the book's counter: a posting meets its one entry. The key is made
    // first, so that the join goes by it (on repeated ids it fails and is logged).
    Utworz_Klucz_Podstawowy("KH_ksiega", "kpir_id");
    DbWykonajKonwersje(
        "update kh_DEKRETY INNER JOIN KH_KSIEGA ON kh_DEKRETY.kpir_id = KH_KSIEGA.kpir_id set "
        "kh_DEKRETY.glowna=KH_KSIEGA.glowna,kh_DEKRETY.anulowana=KH_KSIEGA.anulowana");
    DbWykonajKonwersje("update KH_SCHEMATY_ZAWART set rok=2002 where rok=0 or rok is null");
    Utworz_Index_Unikalny("Szukaj", "KH_ksiega", "kpir_id,Glowna asc,Anulowana asc");
    Utworz_Index_Unikalny("rodzaj", "KH_ksiega", "rodzaj,kpir_id");
    Utworz_Index_Unikalny("data", "KH_ksiega", "data,kpir_id");
    Utworz_Index_Unikalny("rodzajdata", "KH_ksiega", "data,rodzaj,kpir_id");
    Utworz_Klucz_Podstawowy("KH_Schematy", "SYMBOL_SCH,rok");
    Utworz_Index_Unikalny("Kartoteka", "KH_Schematy_Zawart", "SYMBOL_SCH,rok,Kartoteka,COUNTT");
    Utworz_Index_Unikalny("data", "KPIR_KSIEGA", "data,kpir_id");
}

void ClsKonwersje::Konwersja_459() {
    for (const char* k : {"Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"})
        DbWykonajKonwersje(std::string("alter table [KH_KONTA] ADD COLUMN [") + k +
                           "] int DEFAULT 0 ");
    for (const char* k :
         {"Countt_Konta", "Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"})
        DbWykonajKonwersje(std::string("alter table [KH_DEKRETY] ADD COLUMN [") + k +
                           "] int DEFAULT 0 ");

    // Every account: its segments closed up (an empty segment between filled ones goes)
    // and its parents at the three upper levels.
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs,
                         "'',NR_K_1,NR_K_2,NR_K_3,NR_K_4,Countt_Konta_Ojaca_1,Countt_Konta_Ojaca_2,"
                         "Countt_Konta_Ojaca_3,rok FROM [KH_KONTA] ");
    ado::Recordset& konta = kroki::Rekordy(rs);
    while (!konta.Eof()) {
        Pokaz_Postep("", "", NzStr(konta.Fields(1).value()));
        std::string s[4];
        for (int i = 0; i < 4; ++i) {
            s[i] = NzStr(konta.Fields(1 + i).value());
            Obetnij_Myslniki(s[i]);
        }
        std::string k1, k2, k3, k4;
        Rozdziel_Konto(Zlacz_Konto(s[0], s[1], s[2], s[3]), k1, k2, k3, k4);
        std::string* nowe[4] = {&k1, &k2, &k3, &k4};
        for (int i = 0; i < 4; ++i)
            konta.Fields(1 + i) = jet::Value::text(Obetnij_Myslniki(*nowe[i]));
        int32_t id = 0, p1 = 0, p2 = 0, p3 = 0;
        ID_konta2(k1, k2, k3, k4, id, p1, p2, p3, NzLng(konta.Fields(8).value()));
        konta.Fields(5) = jet::Value::long_(p1);
        konta.Fields(6) = jet::Value::long_(p2);
        konta.Fields(7) = jet::Value::long_(p3);
        konta.UpdateBatch(ado::adAffectCurrent);
        konta.MoveNext();
    }
    ZamknijRSKonwersje(rs);

    kroki::Powiaz_Dekrety_Z_Kontami(*this, false);
    Utworz_Klucz_Podstawowy("KH_DEKRETY", "Countt");
    Utworz_Index("kpir_id", "KH_DEKRETY", "kpir_id");
    Utworz_Index("Okres", "KH_DEKRETY", "ROK asc,MIESIAC asc");
    Utworz_Index("Statusy", "KH_DEKRETY", "Glowna asc,Anulowana asc");
    Utworz_Index("Konh_id", "KH_DEKRETY", "Konh_id asc");
    for (const char* k :
         {"Countt_Konta", "Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"})
        Utworz_Index(k, "KH_DEKRETY", std::string(k) + " asc");
    Utworz_Index("d", "KH_DEKRETY", "NR_K_1,NR_K_2,NR_K_3,NR_K_4,rok");
    Utworz_Klucz_Podstawowy("KH_KONTA", "rok,NR_K_1,NR_K_2,NR_K_3,NR_K_4");
    Utworz_Index("TYP", "KH_KONTA", "typ");
    Utworz_Index("Countt_Konta", "KH_KONTA", "Countt asc");
    for (const char* k : {"Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"})
        Utworz_Index(k, "KH_KONTA", std::string(k) + " asc");
    DbWykonajKonwersje("alter table [KH_Ksiega] ADD COLUMN [ROK] int DEFAULT 0 ");
    DbWykonajKonwersje("alter table [KH_Ksiega] ADD COLUMN [MIESIAC] int DEFAULT 0 ");
    DbWykonajKonwersje(kRokMiesiacKsiegi);
    Usun_Index("Podstawowy", "KH_SCHEMATY_ZAWART");
    Zmien_Typ_Pola("Konto", "Text (200)", "KH_SCHEMATY_ZAWART");
}

void ClsKonwersje::Konwersja_460() {
    for (const auto& [nazwa, pola] :
         {std::pair{"Rodzaj", "Rodzaj asc"}, std::pair{"Konh_id", "Konh_id asc"},
          std::pair{"Data", "Data asc"}, std::pair{"Data_K", "Data_K asc"},
          std::pair{"GlownaAnulowana", "Glowna,Anulowana"}, std::pair{"ROKMIESIAC", "ROK,MIESIAC"},
          std::pair{"id_dok", "id_dok"}})
        Utworz_Index(nazwa, "KH_Ksiega", pola);
    for (const char* i : {"Szukaj", "d", "rodzajdata"}) Usun_Index(i, "KH_Ksiega");
    for (const auto& [na, z, opis] :
         {std::tuple{"21", "20", "Paragon"}, std::tuple{"22", "20", "Kasa Fiskalna"},
          std::tuple{"23", "20", "Korekta Vat"}, std::tuple{"24", "20", "Darowizna"},
          std::tuple{"11", "10", "Faktura RR"}, std::tuple{"12", "10", "Rachunek"},
          std::tuple{"13", "10", "Korekta Vat"}})
        DbWykonajKonwersje(std::string("Update KH_Ksiega set rodzaj=") + na + " where rodzaj=" + z +
                           " and opis='" + opis + "'");
    DbWykonajKonwersje("alter table [KH_Ksiega] ADD COLUMN [Suma_wn] money DEFAULT 0 ");
    DbWykonajKonwersje("alter table [KH_Ksiega] ADD COLUMN [Suma_ma] money DEFAULT 0");
    DbWykonajKonwersje("Update KH_Ksiega set suma_wn=0,suma_ma=0");
    {
        // Each posting adds its amounts once to its entry's totals.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajKonwersje(
            "Update kh_ksiega INNER JOIN KH_DEKRETY ON KH_KSIEGA.KPIR_ID=KH_DEKRETY.KPIR_ID set "
            "kh_ksiega.suma_wn=kh_ksiega.suma_wn+Nz(kh_dekrety.KWOTA_WN,0),kh_ksiega.suma_ma="
            "kh_ksiega.suma_ma+Nz(kh_dekrety.KWOTA_ma,0)");
    }
    DbWykonajKonwersje("alter table [KH_dEKRETY] ADD COLUMN [Konta_Przeciwstawne] Text (255)");
}

void ClsKonwersje::Konwersja_461() {
    kroki::Typy_Kont(*this);
    DbWykonajUPDKonwersje(std::string(kRokMiesiacKsiegi).substr(7), "", "", "");
    const Indeksy_Kolumn indeksy[] = {
        {"kh_dekrety",
         {"NR_K_1", "NR_K_2", "NR_K_3", "NR_K_4", "KWOTA_WN", "KWOTA_ma", "ROK", "MIESIAC", "Opis",
          "Glowna", "Anulowana"}},
        {"kh_konta",
         {"NR_K_1", "NR_K_2", "NR_K_3", "NR_K_4", "ROK", "TYP", "Rodzaj", "Kartoteka", "Konh_id",
          "Countt_Konta_Ojaca_1", "Countt_Konta_Ojaca_2", "Countt_Konta_Ojaca_3"}},
        {"kh_ksiega",
         {"Konh_id", "rodzajdok", "id_dok", "Glowna", "Anulowana", "ROK", "MIESIAC", "Suma_wn",
          "Suma_ma"}},
        {"KH_SCHEMATY_ZAWART", {"ROK", "SYMBOL_SCH", "Rodz_Aso", "Kartoteka", "Konto"}},
    };
    for (const Indeksy_Kolumn& t : indeksy)
        for (const char* k : t.kolumny) Utworz_Index(k, t.tabela);
}
