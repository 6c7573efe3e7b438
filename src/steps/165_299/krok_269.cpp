// Step 2.69: every document table gets its DOK_ name (renamed in place through a second
// connection, rows, columns and indexes kept), then the documents' dates lose their
// time of day.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_269() {
    kroki::Zmien_Nazwy_Tabel(*this, {
                                        {"DOK_WEWNENTRZNE", "DOK_RW"},
                                        {"DOK_WEWNENTRZNE_ZAWART", "DOK_RW_ZAWART"},
                                        {"PARAGON", "DOK_PAR"},
                                        {"PARAGON_ZAWART", "DOK_PAR_ZAWART"},
                                        {"FAKTURY", "DOK_FAK"},
                                        {"FAKTURY_ZAWART", "DOK_FAK_ZAWART"},
                                        {"DOWODY_DOSTAW", "DOK_DD"},
                                        {"DOWODY_DOSTAW_ZAWART", "DOK_DD_ZAWART"},
                                        {"DOWODY_ZWROTU", "DOK_DZ"},
                                        {"DOWODY_ZWROTU_ZAWART", "DOK_DZ_ZAWART"},
                                        {"K_FAKTUR", "DOK_KFA"},
                                        {"K_FAKTUR_ZAWART", "DOK_KFA_ZAWART"},
                                        {"ZAKUPY", "DOK_ZAK"},
                                        {"ZAKUPY_ZAWART", "DOK_ZAK_ZAWART"},
                                        {"ZAMOWIENIA_MAIN", "DOK_ZAM"},
                                        {"ZAMOWIENIA_MAIN_ZAWART", "DOK_ZAM_ZAWART"},
                                        {"PRODUKCJA", "DOK_PRO"},
                                        {"PRODUKCJA_ZAWART", "DOK_PRO_ZAWART"},
                                        {"PRODUKCJA_ZAWART_SUROWCE", "DOK_PRO_ZAWART_SUROWCE"},
                                        {"REMANENTINWENT", "DOK_REI"},
                                        {"REMANENTINWENT_ZAWART", "DOK_REI_ZAWART"},
                                        {"RAPORT_KASOWY", "DOK_FRA"},
                                        {"KP", "DOK_FIN"},
                                        {"KP_ZAWART", "DOK_FIN_ZAWART"},
                                    });

    // Each date becomes its own day at midnight: formatted day first without the time
    // and read back. A Null stays Null.
    static constexpr std::array<std::pair<const char*, const char*>, 19> kDaty = {{
        {"dok_dd", "DDOUT_DATA_WYST"},
        {"dok_dd", "ddout_data_sprz"},
        {"dok_dz", "DDOUT_DATA_WYST"},
        {"dok_dz", "ddout_data_sprz"},
        {"dok_fak", "FAKOUT_DATA_WYST"},
        {"dok_fak", "FAKOUT_DATA_SPRZED"},
        {"dok_fak", "FAKOUT_TERMIN_ZAPLATY"},
        {"dok_rw", "DDOUT_DATA_WYST"},
        {"dok_rw", "ddout_data_sprz"},
        {"dok_kfa", "FKOROUT_DATA_WYST"},
        {"dok_kfa", "FKOROUT_DATA_SPRZ"},
        {"dok_kfa", "FKOROUT_TERM_PLAT"},
        {"dok_par", "DDOUT_DATA_WYST"},
        {"dok_par", "ddout_data_sprz"},
        {"dok_zak", "data_zaksiegowania"},
        {"dok_zak", "data_zakupu"},
        {"dok_zak", "data_zaplaty"},
        {"dok_zam", "data"},
        {"cenniki", "LCEN_DATA"},
    }};
    for (const auto& [tabela, kolumna] : kDaty)
        DbWykonajKonwersje(std::string("update [") + tabela + "]  set [" + kolumna + "]=format(" +
                           kolumna + ",'dd-MM-yyyy')");
}
