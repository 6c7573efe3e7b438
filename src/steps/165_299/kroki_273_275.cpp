// Steps 2.73 to 2.75: the costing columns of products and recipe lines, and the payroll
// components 119 to 144 with the amount columns of components 135 to 144.
#include <array>
#include <string>

#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// A costing column: its table, its name and its type text.
struct Kolumna {
    const char* tabela;
    const char* nazwa;
    const char* typ;
};

// Components 119 to 144 in insertion order. 133 and 134 carry the same texts for now.
constexpr std::array<kroki::Skladnik_Plac, 26> kSkladniki = {{
    {119, "Św. rehabilitacyjne z ubezp.wypadkowego", "Św.reh.z ub.wyp."},
    {120, "Wynagrodzenie chorobowe z FGŚP", "Wynagr.chor. z FGŚP"},
    {121, "Ilość dni wynagrodzenia chorobowego z FGŚP", "Il.dni wyn.chor FGŚP"},
    {122, "Wynagrodzenie wypadkowe z FGŚP", "Wyn.wyp z FGŚP"},
    {123, "Ilość dni chorobowego wypadkowego z FGŚP", "Il.dni chor.wyp.FGŚP"},
    {124, "Premia jednorazowa", "Premia jednor."},
    {125, "Premia roczna", "Premia roczna"},
    {126, "Premia kwartalna", "Premia kwartalna"},
    {127, "Inne świadczenia i przerwy", "Inne św.i przerwy"},
    {128, "Ilość dni innych świadczeń i przerw", "Il.dni innych św."},
    {129, "Ilość dni NU", "Ilość dni NU"},
    {130, "Ilość dni NN", "Ilość dni NN"},
    {131, "Ilość dni świadczenia rehabilitacyjnego z ubezp. chorobowego",
     "Il.dni św.reh.z ub.chor"},
    {132, "Ilość dni świadczenia rehabilitacyjnego z ubezp. wypadkowego",
     "Il.dni św.reh.z ub wypad"},
    {133, "Urlop wychowawczy", "Urlop wych."},
    {134, "Urlop wychowawczy", "Urlop wych."},
    {135, "Stawka zasadnicza", "Stawka zasad."},
    {136, "Zmniejszenie za nieobecności", "Zmniejsz.za nieob."},
    {137, "Podstawa składki zdrowotnej BFP", "Podst.skł.zdrow.BFP"},
    {138, "Składka zdrowotna BFP", "Skł.zdrow.BFP"},
    {139, "Podstawa składki chorobowej BFP", "Podst.skł.chor.BFP"},
    {140, "Składka chorobowa BFP", "Skł.chorob.BFP"},
    {141, "Podstawa składki emerytalno-rentowej BFP", "Podst.skł.em.rent.BFP"},
    {142, "Składka emerytalna BFP", "Skł.em.BFP"},
    {143, "Składka rentowa BFP", "Skł.rent.BFP"},
    {144, "Składka wypadkowa BFP", "Skł.wypadk.BFP"},
}};

// Adds the columns in order, each as "alter table  [<table>] ADD COLUMN [<name>] <type>".
template <size_t N>
void Dodaj_Kolumny(ClsKonwersje& k, const std::array<Kolumna, N>& kolumny) {
    for (const Kolumna& c : kolumny)
        k.DbWykonajKonwersje(std::string("alter table  [") + c.tabela + "] ADD COLUMN [" + c.nazwa +
                             "] " + c.typ);
}

}  // namespace

void ClsKonwersje::Konwersja_273() {
    Dodaj_Kolumny(*this, std::array<Kolumna, 3>{{
                             {"produkty", "Cena_Z_Kalk", "money"},
                             {"produkty", "Roboczogodziny", "Single DEFAULT 0"},
                             {"produkty", "IL_opak", "Single DEFAULT 0"},
                         }});
}

void ClsKonwersje::Konwersja_274() {
    Dodaj_Kolumny(*this, std::array<Kolumna, 6>{{
                             {"produkty", "NarzutKosztOg", "Single DEFAULT 0"},
                             {"produkty", "ZyskKalk", "Single DEFAULT 0"},
                             {"produkty", "CenaRob", "Single DEFAULT 0"},
                             {"produkty", "CenOpoakowania", "Single DEFAULT 0"},
                             {"produkty_receptury", "IloscKalk", "Single DEFAULT 0"},
                             {"produkty_receptury", "CenaKalk", "money"},
                         }});
}

void ClsKonwersje::Konwersja_275() {
    // Every component above 118 goes first, so that a repeated step leaves each of
    // 119 to 144 once. The delete and insert executors answer their own failures.
    kroki::Dodaj_Skladniki_Plac(*this, "[place_opisy] where [pole]>118", kSkladniki);
    for (int n = 135; n <= 144; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                           "]  money");
    // The basic rate (135) starts as the amount of component 19.
    DbWykonajKonwersje(
        "update [Place_Dane] set [Place_Dane].[wartosc135]=[Place_Dane].[wartosc19]");
}
