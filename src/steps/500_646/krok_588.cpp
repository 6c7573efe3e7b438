// Step 5.88: the contractor table slimmed. Six of its columns become lists of the general
// dictionary S_Inne, the personnel options of employees move to KADRY_OPCJE, every
// contractor gets its general discount row and the driver references move onto the
// discount rows; then 59 columns leave the contractor table.
#include <string>

#include "db/schemat.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The 27 driver references: kier_id1..9, kier_id101..109, kier_id201..209.
constexpr const char* kKolumnyKierowcow[] = {
    "kier_id1",   "kier_id2",   "kier_id3",   "kier_id4",   "kier_id5",   "kier_id6",
    "kier_id7",   "kier_id8",   "kier_id9",   "kier_id101", "kier_id102", "kier_id103",
    "kier_id104", "kier_id105", "kier_id106", "kier_id107", "kier_id108", "kier_id109",
    "kier_id201", "kier_id202", "kier_id203", "kier_id204", "kier_id205", "kier_id206",
    "kier_id207", "kier_id208", "kier_id209"};

// The driver references, each name prefixed, separated by commas.
std::string Kierowcy(const std::string& prefiks) {
    std::string lista;
    for (const char* kolumna : kKolumnyKierowcow)
        lista += (lista.empty() ? "" : ",") + prefiks + kolumna;
    return lista;
}

}  // namespace

void ClsKonwersje::Konwersja_588() {
    DbWykonajKonwersje(std::string("Create table [S_Inne] (ID_slownka ") + "int DEFAULT 0" +
                       ",countt " + "int identity" + ",Nazwa " + "Text " + "(255))");
    const char* kListy[] = {"Powiat",        "Region",         "KONH_miejscowosc",
                            "konh_naz_bank", "Przedstawiciel", "Podpis"};
    // Each list once: the dictionary has no index to refuse a second copy of a list that an
    // earlier run added.
    for (int i = 0; i < 6; ++i) {
        const std::string lista = std::to_string(i + 1);
        Dodaj_Wiersze_Gdy_Brak("insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  " +
                                   lista + "," + kListy[i] + " from kontrahenci",
                               "[S_Inne] where ID_slownka=" + lista, true);
    }
    Dodaj_Pole("Kontrahenci", "[Grupa_Zamowien] Text (50)");
    for (const char* kolumna :
         {"Act_SZam", "Act_DD",  "Act_DZ",  "Act_Fzb", "Act_Fwe",  "Act_Par",
          "Act_Dar",  "Act_SPF", "Act_RW",  "Act_PW",  "Act_Fis",  "Act_ZZam",
          "Act_PZ",   "Act_WZ",  "Act_Zak", "Act_Rac", "Act_Frr",  "Act_ZPF",
          "Act_Nal",  "Act_Zob", "Act_Kas", "Act_Ban", "Act_SNal", "Act_SZob"})
        Usun_Pole("Kontrahenci", kolumna);
    for (const char* kolumna :
         {"[UBE]", "[ubr]", "[ubc]", "[ubw]", "[ubz]", "[KartaStP]", "[KartaCzP]"})
        Dodaj_Pole("KADRY_OPCJE", std::string(kolumna) + " tinyint DEFAULT 0");
    Dodaj_Pole("KADRY_OPCJE", "[kodzus] Text (6)");
    // The personnel options leave the contractors once KADRY_OPCJE holds them.
    Przeniesione_Wartosci opcje{
        .zrodlo = "Kontrahenci",
        .cel = "KADRY_OPCJE",
        .zlaczenie = "KADRY_OPCJE AS KO INNER JOIN KONTRAHENCI AS K ON KO.ID_PRAC=K.kONH_ID",
        .alias = "K2",
        .powiazanie = "K2.KONH_ID=KO.ID_PRAC",
        .klucz = "KONH_ID"};
    std::string wartosci;
    for (const char* kolumna :
         {"UBE", "UBR", "UBC", "UBW", "UBZ", "KartaStP", "KartaCzP", "kodzus"}) {
        wartosci += (wartosci.empty() ? "KO." : ",KO.") + std::string(kolumna) + "=K." + kolumna;
        opcje.pola.emplace_back(std::string("KO.") + kolumna, kolumna);
    }
    DbWykonajUPDKonwersje("", opcje.zlaczenie, wartosci, "", "", true,
                          Wartosci_Z_Wczesniejszego_Przebiegu(opcje));
    for (const char* kolumna :
         {"UBE", "UBR", "UBC", "UBW", "UBZ", "KartaStP", "KartaCzP", "kodzus", "Etat"})
        Usun_Pole("Kontrahenci", kolumna);
    // Every contractor without a discount row gets its general row (product group 0) of its
    // discount, 0 where it gives none. A run that stopped after dropping a driver column
    // below had given every contractor its row.
    bool kierowcy_sa = true;
    for (const char* kolumna : kKolumnyKierowcow)
        kierowcy_sa = kierowcy_sa && Jest_Tabela("Kontrahenci", kolumna);
    if (kierowcy_sa)
        DbWykonaj("insert into kontrahenci_rabaty (Konh_id,Id_GR_prod,PrRabat," + Kierowcy("") +
                  ")  select k.Konh_id,0,Nz(k.Rabat,0)," + Kierowcy("k.") +
                  "  from kontrahenci as k left join kontrahenci_rabaty on "
                  "k.konh_id=kontrahenci_rabaty.konh_id where kontrahenci_rabaty.konh_id is null");
    // The drivers leave the contractors once their discount rows hold them.
    Przeniesione_Wartosci kierowcy{
        .zrodlo = "Kontrahenci",
        .cel = "Kontrahenci_Rabaty",
        .zlaczenie =
            "Kontrahenci_Rabaty as KR inner join Kontrahenci As KO on KR.konh_id=KO.konh_id",
        .alias = "K2",
        .powiazanie = "K2.konh_id=KR.konh_id",
        .klucz = "konh_id"};
    for (const char* kolumna : kKolumnyKierowcow)
        kierowcy.pola.emplace_back(std::string("KR.") + kolumna, kolumna);
    for (int i = 1; i <= 9; ++i) {
        const std::string n = std::to_string(i);
        // A contractor without a driver leaves the discount row's.
        std::string wartosci;
        for (const std::string k : {"Kier_id", "Kier_id10", "Kier_id20"})
            wartosci += (wartosci.empty() ? "kr." : ",kr.") + k + n + "=" +
                        kroki::Kopia_Bez_Nulla("kr." + k + n, "ko." + k + n);
        DbWykonajKonwersje("Update " + kierowcy.zlaczenie + " set " + wartosci,
                           Wartosci_Z_Wczesniejszego_Przebiegu(kierowcy));
    }
    for (int grupa : {0, 100, 200})
        for (int i = grupa == 0 ? 2 : 1; i <= 9; ++i)
            Usun_Pole("Kontrahenci", "kier_id" + std::to_string(grupa + i));
}
