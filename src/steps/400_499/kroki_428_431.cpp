// Steps 4.28 to 4.31: the MMA document kind, the stocked quantity of document lines, tax
// payroll components, the returns groups' stock price, stocktaking documents tidied and
// every product's working price, and the payroll components of contracts of mandate.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "db/daty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The line tables that get the quantity in the stock unit, in order.
constexpr const char* kLinie428[] = {
    "DOK_DAR_Zawart", "DOK_DD_Zawart",      "DOK_DZ_Zawart",  "DOK_FAK_Zawart", "DOK_KFA_Zawart",
    "DOK_KZA_Zawart", "DOK_PAR_Zawart",     "DOK_PFA_Zawart", "DOK_PRO_Zawart", "DOK_PRS_Zawart",
    "DOK_PRZ_Zawart", "DOK_PRZ_Zawart_PRO", "DOK_PW_Zawart",  "DOK_PZ_Zawart",  "DOK_PZS_Zawart",
    "DOK_RW_Zawart",  "DOK_WZ_Zawart",      "DOK_ZAK_Zawart", "DOK_ZPF_Zawart", "DOK_MMZ_Zawart",
    "DOK_MMA_Zawart", "DOK_MMA_Zawart_PRO"};

constexpr std::array<kroki::Skladnik_Plac, 3> kSkladniki172 = {{
    {172, "Nadpłata podatku", "Nadpł.pod."},
    {173, "Niedopłata podatku", "Niedopł.pod."},
    {174, "Zwrot nadpłaty podatku", "Zwrot.nadpł.pod."},
}};

constexpr std::array<kroki::Skladnik_Plac, 6> kSkladniki175 = {{
    {175, "Stawka umowy zlecenia", "Stawka umowy"},
    {176, "Podatek obliczony-umowy zlecenia", "Pod.obl.um.zl."},
    {177, "Składka zdrowotna pobrana", "Skł.zdrow.pob."},
    {178, "Składka zdrowotna pobrana-umowy zlecenia", "Skł.zdr.pob.um.zl."},
    {179, "Kwota netto umowy", "Netto um.zl."},
    {180, "Ogółem przychód", "OGÓŁEM PRZYCHÓD"},
}};

// Inserts the payroll components, one statement each, after their columns exist; a number
// that the catalogue holds (an earlier run inserted it) is not inserted again.
void Wstaw_Skladniki(ClsKonwersje& k, const kroki::Skladnik_Plac* s, size_t ile) {
    for (size_t i = 0; i < ile; ++i) kroki::Dodaj_Skladnik_Plac(k, "[place_opisy]", s[i]);
}

// The five sources of a product's working price, in the order they are searched; each
// query is completed by the date bound, then the product's id and its ordering. Of the
// lines of one date the latest entered gives the price: the document with the highest id,
// its line with the highest counter, as the search takes the latest line of all.
struct Zrodlo_Ceny {
    const char* przed_data;
    const char* przed_id;
    const char* koniec;
};

constexpr Zrodlo_Ceny kZrodlaCeny[] = {
    {"top 1 dok_rei.Data,dok_rei_zawart.Cena from [dok_rei] inner join [dok_rei_zawart] on "
     "[dok_rei].ID_RI=[dok_rei_zawart].ID_RI where data>=",
     " and dok_rei_zawart.ID=",
     " order by [Data] desc,dok_rei.ID_RI desc,dok_rei_zawart.Countt desc"},
    {"top 1 dok_pw.ddout_data_sprz,dok_pw_zawart.ZDDOUT_CENA_N from [dok_pw] inner join "
     "[dok_pw_zawart] on [dok_pw].ddout_id=[dok_pw_zawart].ddout_id where ddout_data_sprz>=",
     " and dok_pw_zawart.prod_id=",
     " order by [ddout_data_sprz] desc,dok_pw.ddout_id desc,dok_pw_zawart.Countt desc"},
    {"top 1 dok_pro.ddout_data_sprz,dok_pro_zawart.ZDDOUT_CENA_N from [dok_pro] inner join "
     "[dok_pro_zawart] on [dok_pro].ddout_id=[dok_pro_zawart].ddout_id where "
     "dok_pro.ddout_data_sprz>=",
     " and  dok_pro_zawart.prod_id=",
     " order by [ddout_data_sprz] desc,dok_pro.ddout_id desc,dok_pro_zawart.Countt desc"},
    {"top 1 dok_prz.ddout_data_sprz,dok_prz_zawart_pro.ZDDOUT_CENA_N from [dok_prz] inner join "
     "[dok_prz_zawart_pro] on [dok_prz].ddout_id=[dok_prz_zawart_pro].ddout_id where "
     "ddout_data_sprz>=",
     " and  dok_prz_zawart_pro.prod_id=",
     " order by [ddout_data_sprz] desc,dok_prz.ddout_id desc,dok_prz_zawart_pro.Countt desc"},
    {"top 1 dok_zak.data_zakupu,dok_zak_zawart.CENA_N from [dok_zak] inner join "
     "[dok_zak_zawart] on [dok_zak].numer_id=[dok_zak_zawart].numer_id where data_zakupu>=",
     " and  dok_zak_zawart.sur_id=",
     " order by [data_zakupu] desc,dok_zak.numer_id desc,dok_zak_zawart.Countt desc"},
};

}  // namespace

void ClsKonwersje::Konwersja_428() {
    DbWykonajKonwersje("alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [Cena_Z] money DEFAULT 0");
    DbWykonajKonwersje("update [S_GRUPY_PRODUKCYJNE] set [Cena_Z]=0 where [Cena_Z] is null");
    DbWykonajKonwersje("alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [W_KG] Logical");
    for (const char* t : {"DOK_MMA", "DOK_MMA_ZAWART", "DOK_MMA_ZAWART_PRO"}) {
        const std::string n = t;
        kroki::Pusta_Tabela_Jak(*this, n, n == "DOK_MMA" ? "DOK_DZ" : "DOK_DZ_ZAWART");
    }
    DbWykonajKonwersje("alter table  [sposob_numeracji] ADD COLUMN [nag_mma] text(50)");
    for (const char* t : kLinie428) {
        const std::string n = t;
        DbWykonajKonwersje("alter table  " + n + " ADD COLUMN [Ilosc_Na_Magazyn] Single DEFAULT 0");
        DbWykonajKonwersje("update " + n +
                           " set Ilosc_Na_Magazyn=0 where Ilosc_Na_Magazyn is null");
    }
    for (int n = 172; n <= 174; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                           "]  money DEFAULT 0");
    Wstaw_Skladniki(*this, kSkladniki172.data(), kSkladniki172.size());
    DbWykonajKonwersje("alter table [KADRY_PIT] ADD COLUMN [NIP3I] Text (1)");
    DbWykonajKonwersje("alter table [KADRY_PIT] ADD COLUMN [NIP3A] Text (1)");
    DbWykonajKonwersje("alter table [KADRY_PIT] ADD COLUMN [DATA_ZWR] SmallDateTime DEFAULT null");
    DbWykonajKonwersje("alter table [KADRY_PIT] ADD COLUMN [DATA_POBR] SmallDateTime DEFAULT null");
}

void ClsKonwersje::Konwersja_429() {
    DbWykonajKonwersje("alter table s_grupy_zwrotow ADD COLUMN [CenaMag] money DEFAULT 0");
    DbWykonajKonwersje("alter table S_GRUPY_PRODUKCYJNE ADD COLUMN [sm_id] int DEFAULT 0");
    DbWykonajKonwersje("alter table SPOSOB_NUMERACJI ADD COLUMN [nag_mma] Text (50)");
}

void ClsKonwersje::Konwersja_430() {
    DbWykonajKonwersje("alter table [DOK_KFA] ADD COLUMN [Stara_Kor] Logical");
    DbWykonajKonwersje("alter table [DOK_KZA] ADD COLUMN [Stara_Kor] Logical");
    DbWykonajKonwersje("update [DOK_KFA] set Stara_Kor=-1");
    DbWykonajKonwersje("update [DOK_KZA] set Stara_Kor=-1");
    DbWykonajKonwersje("alter table [KADRY_SWIADECTWA] ADD COLUMN [sposob] Text (20)");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [DataRob] SmallDateTime DEFAULT null");
    for (const char* k :
         {"mag_prod", "zak_il", "sprz_il", "zuzyte", "przych_il", "rozch_il", "wartosc"})
        Usun_Pole("dok_rei_zawart", k);
    DbWykonajKonwersje("alter table [dok_rei] ADD COLUMN [JestWartosc] Logical");

    // Stocktaking documents with 'R' lines: the actual quantity is the book quantity (a line
    // without one keeps its own), the
    // balance lines go, and the document is marked as valued. The kind of line is dropped
    // only after every document has passed: where it is gone, a stopped run did this pass
    // whole.
    std::unique_ptr<ado::Recordset> rei;
    std::unique_ptr<ado::Recordset> szukaj;
    const bool rodzaje = Jest_Tabela("dok_rei_zawart", "RI");
    if (rodzaje)
        DbOtwórzSELKonwersje(rei, "[Data],ID_RI,JestWartosc from [DOK_REI] order by [data] desc");
    while (rodzaje && !kroki::Rekordy(rei).Eof()) {
        ado::Recordset& dokumenty = *rei;
        const std::string id = NzStr(dokumenty.Fields(1).value());
        // A document without an id has no lines to find.
        if (!id.empty() &&
            DbOtwórzSEL(szukaj,
                        "top 1 [RI] from [DOK_REI_zawart] where ID_RI=" + id + " and [RI]='R'",
                        kOtworzOdczyt) > 0) {
            DbWykonajKonwersje(
                "update dok_rei_zawart as t1 set t1.Ilosc_stanfaktyczny=" +
                kroki::Kopia_Bez_Nulla("t1.Ilosc_stanfaktyczny", "t1.Ilosc_namagazynie") +
                " where t1.ID_RI=" + id + " and t1.[RI]='R' ");
            DbWykonajDELKonwersje("dok_rei_zawart where ID_RI=" + id + " and [RI]='B'",
                                  "dok_rei_zawart.*");
            dokumenty.Fields(2) = jet::Value::long_(-1);
            dokumenty.UpdateBatch(ado::adAffectCurrent);
        }
        ZamknijRS(szukaj);
        dokumenty.MoveNext();
    }
    Usun_Pole("dok_rei_zawart", "RI");
    Usun_Pole("dok_rei_zawart", "Rodz");
    Usun_Pole("dok_rei", "RI");
    Usun_Pole("dok_rei", "Rodz");
    Usun_Pole("dok_rei", "wartosc");
    DbWykonajKonwersje("alter table [dok_rei] ADD COLUMN [id_GRProd] int DEFAULT 0");
    DbWykonajKonwersje("alter table [dok_rei] ADD COLUMN [Asortyment] Text (1)");

    // Working price: the latest line of the five kinds from 1990 on; each search starts at
    // the day of the best date so far, so a later kind wins a tie on the same day.
    std::unique_ptr<ado::Recordset> prod;
    DbOtwórzSELKonwersje(
        prod,
        "[DataRob],CenaRob,prod_id from [PRODUKTY] where DataRob is null order by prod_id desc");
    ado::Recordset& produkty = kroki::Rekordy(prod);
    const double poczatek = jet::dates::to_serial(1990, 1, 1).value_or(0);
    while (!produkty.Eof()) {
        // A product without an id is named by no document line: left without a price.
        if (produkty.Fields(2).value().is_null()) {
            produkty.MoveNext();
            continue;
        }
        const std::string id = NzStr(produkty.Fields(2).value());
        Pokaz_Postep("", "", id);
        produkty.Fields(0) = jet::Value::date(poczatek);
        produkty.Fields(1) = jet::Value::long_(0);
        for (const Zrodlo_Ceny& z : kZrodlaCeny) {
            const std::string od = DataSQL_Od(produkty.Fields(0).value().to_date());
            if (DbOtwórzSEL(szukaj, z.przed_data + od + z.przed_id + id + z.koniec, kOtworzOdczyt) >
                0) {
                // A line whose price is not given gives the price none (0).
                const jet::Value cena = szukaj->Fields(1).value();
                produkty.Fields(0) = szukaj->Fields(0).value();
                produkty.Fields(1) = cena.is_null() ? jet::Value::long_(0) : cena;
            }
            ZamknijRS(szukaj);
        }
        produkty.UpdateBatch(ado::adAffectCurrent);
        produkty.MoveNext();
    }
    ZamknijRSKonwersje(prod);
    ZamknijRSKonwersje(rei);

    DbWykonajKonwersje("drop index Podstawowy ON DOK_rei_ZAWART");
    Usun_Pole("dok_rei_zawart", "id_GRProd");
    Utworz_Klucze_Z_Zawart("DOK_rei", "ID_RI asc", "ID asc,cena asc,COUNTT asc");
}

namespace {

// The update that sets a payroll component still 0 or empty to a sum of others ("+46",
// "-140"): the sum starts from 0 and an empty component adds nothing, so a row where all
// of them are empty gets 0.
std::string Skladnik_Z_Innych(int cel, std::initializer_list<const char*> skladniki) {
    std::string suma;
    for (const char* s : skladniki) {
        const std::string kolumna = std::string("[wartosc") + (s + 1) + "]";
        suma += (suma.empty() && *s == '+' ? "" : std::string(1, *s)) + "Nz(" + kolumna + ",0)";
    }
    const std::string c = "[wartosc" + std::to_string(cel) + "]";
    return "[PLACE_DANE] set " + c + "=" + suma + " where " + c + "=0 or " + c + " is null";
}

}  // namespace

void ClsKonwersje::Konwersja_431() {
    Zmien_Typ_Pola("Opis_Zdarzenia", "text(255)", "dok_zak");
    for (int n = 175; n <= 180; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                           "]  money DEFAULT 0");
    Wstaw_Skladniki(*this, kSkladniki175.data(), kSkladniki175.size());
    for (const std::string& s : std::vector<std::string>{
             "[PLACE_DANE] set [wartosc175]=[wartosc46] where [wartosc175]=0 or [wartosc175] is "
             "null",
             "[PLACE_DANE] set [wartosc176]=[wartosc94] where [wartosc176]=0 or [wartosc176] is "
             "null",
             "[PLACE_DANE] set [wartosc177]=[wartosc96] where [wartosc177]=0 or [wartosc177] is "
             "null",
             "[PLACE_DANE] set [wartosc178]=[wartosc138] where [wartosc178]=0 or [wartosc178] is "
             "null",
             Skladnik_Z_Innych(179, {"+46", "-140", "-142", "-143", "-138", "-94"}),
             Skladnik_Z_Innych(180, {"+151", "+2"})})
        DbWykonajUPDKonwersje(s, "", "", "");
    DbWykonajKonwersje("alter table [KADRY_WARUNKI] ADD COLUMN [INNE_SKŁ] Text (80)");
}
