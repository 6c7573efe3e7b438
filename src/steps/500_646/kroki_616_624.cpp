// Steps 6.16 to 6.24: production groups and a shop id on the lines of purchase,
// goods-receipt and goods-issue documents, employment termination fields, a payroll date,
// the contractors' opening financial balance, the configuration-set tables and the
// download columns of the general ledger.
#include <string>

#include "db/wykonaj.h"
#include "driver/konwersje.h"

namespace {

const char* const kLinie[] = {"DOK_ZAK_ZAWART", "DOK_PZ_ZAWART", "DOK_WZ_ZAWART"};

}  // namespace

void ClsKonwersje::Konwersja_616() {
    struct Linie {
        const char* tabela;
        const char* naglowek;
        const char* zlaczenie;
    };
    const Linie linie[] = {
        {"DOK_ZAK_ZAWART", "DOK_ZAK", " on dok_zak_zawart.numer_id=dok_zak.numer_id  "},
        {"DOK_PZ_ZAWART", "DOK_PZ", " on dok_pz_zawart.ddout_id=dok_pz.ddout_id"},
        {"DOK_WZ_ZAWART", "DOK_WZ", " on dok_wz_zawart.ddout_id=dok_wz.ddout_id"},
    };
    for (const Linie& l : linie) {
        Dodaj_Pole(l.tabela, "[zid_GRProd] int DEFAULT 0");
        Dodaj_Pole(l.tabela, "[zid_GrProdPod] int DEFAULT 0");
        Dodaj_Pole(l.tabela, "[id_sklepu] int DEFAULT 0");
        // A header without a group gives its lines none (0).
        DbWykonajUPDKonwersje(
            "", std::string(l.tabela) + " inner join " + l.naglowek + l.zlaczenie,
            "zid_GRProd=Nz(id_GRProd,0),zid_GrProdPod=Nz(id_GrProdPod,0),id_sklepu=0", "");
    }
}

void ClsKonwersje::Konwersja_617() {
    for (const char* kolumna : {"[OKRES_WYP] Text (20)", "[PRZYCZYNA_WYP] Text (255)",
                                "[DATA_WYP] SmallDateTime DEFAULT null", "[SĄD_WYP] Text (40)"})
        Dodaj_Pole("KADRY_UMOWY", kolumna);
    std::string warunek;
    for (int kod = 0; kod <= 7; ++kod)
        warunek +=
            std::string(kod ? " OR " : "") + "KADRY_UMOWY.SPOSOBROZW='" + std::to_string(kod) + "'";
    DbWykonaj("Update KADRY_UMOWY set KADRY_UMOWY.SPOSOBROZW=KADRY_UMOWY.SPOSOBROZW & ' ' where " +
              warunek + " ");
}

void ClsKonwersje::Konwersja_618() {
    Dodaj_Pole("PLACE_LISTY", "[DataExPlZus] SmallDateTime DEFAULT null");
}

void ClsKonwersje::Konwersja_619() {
    Dodaj_Pole("Kontrahenci", "[BOFinansowe] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_621() {
    DbWykonaj("create table S_KONF_ZEST (ID int identity, nazwa Text (50) , rodzaj Text (50))");
    DbWykonaj(
        "create table S_KONF_ZEST_ZAWART (ID int DEFAULT 0, numer_obiektu int DEFAULT 0, "
        "kod_ustawienia int DEFAULT 0)");
    for (const char* t : kLinie) {
        DbWykonaj(std::string("Update ") + t + " set ZID_GRPROD=0 where ZID_GRPROD is null");
        DbWykonaj(std::string("Update ") + t + " set ID_SKLEPU=0 where ID_SKLEPU is null");
    }
    CzekajKonwersje(3);
}

void ClsKonwersje::Konwersja_622() {
    Dodaj_Pole("KH_KSIEGA", "[Pobierz_kpir_id] int DEFAULT 0");
    Dodaj_Pole("KH_KSIEGA", "[Pobierz_Stanowisko] int DEFAULT 0");
}

void ClsKonwersje::Konwersja_623() {
    Dodaj_Pole("KH_DEKRETY", "[Pobierz_Stanowisko] int DEFAULT 0");
}

void ClsKonwersje::Konwersja_624() {
    Dodaj_Pole("S_KONF_ZEST_ZAWART", "Countt int identity");
}
