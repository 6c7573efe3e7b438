// Steps 2.70 and 2.71: the payroll values numbered by component, the component
// catalogue place_opisy, and the payroll lists place_Listy with each value's list and
// each list's employer cost.
#include <string>

#include "db/daty.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"

namespace {

// The old text codes of the payroll values and the component each one becomes. No
// code gives the components 52, 57, 58 and 61.
struct KodSkladnika {
    int pole;
    const char* kod;
};
constexpr KodSkladnika kKody[] = {
    {0, "TSkłBrutto"},
    {1, "TSkłUrlopy"},
    {2, "TSkłUB"},
    {3, "TskłZUS"},
    {4, "TskłZON"},
    {5, "TSkłUBONO"},
    {6, "TPodatek"},
    {7, "TZdrowotne"},
    {8, "TPodatekOdpr"},
    {9, "TZasNONS"},
    {10, "TDodatkiNieopodatkowane"},
    {11, "Dowyplaty"},
    {12, "KosztPr"},
    {13, "TskłZUSPR"},
    {14, "Netto_Zal"},
    {15, "Netto_ZajSa"},
    {16, "Netto_PI"},
    {17, "SkłBrutta_GN"},
    {18, "SkłBrutta_StGodz"},
    {19, "SkłBrutta_PłacaZas"},
    {20, "SkłBrutta_GodzinNadliczbowych50"},
    {21, "SkłBrutta_StawkaNadliczbowa50"},
    {22, "SkłBrutta_KwotaNadgodzin50"},
    {23, "SkłBrutta_GodzinNadliczbowych100"},
    {24, "SkłBrutta_StawkaNadliczbowa100"},
    {25, "SkłBrutta_KwotaNadgodzin100"},
    {26, "SkłBrutta_GodzinNocnych"},
    {27, "SkłBrutta_StGodzNocnych"},
    {28, "SkłBrutta_KwotaZAGodzNocne"},
    {29, "SkłBrutta_PktAKORD"},
    {30, "SkłBrutta_sTAWaKORD"},
    {31, "SkłBrutta_aKORD"},
    {32, "SkłBrutta_PREMIA"},
    {33, "SkłBrutta_PremiaProcent"},
    {34, "SkłBrutta_PremiaProcentowa"},
    {35, "TSkłBrutto1"},
    {36, "SkłBrutta_NagrodaRegulaminowa"},
    {37, "SkłBrutta_DoDFun"},
    {38, "SkłBrutta_Wysługa"},
    {39, "SkłBrutta_DodPracaWarUc"},
    {40, "SkłURlopy_ILDNIUR"},
    {41, "SkłURlopy_stawka"},
    {42, "SkłURlopy_URL"},
    {43, "SkłURlopy_ILDNIURBE"},
    {44, "SkłURlopy_MINURL"},
    {45, "TSkłBrutto2"},
    {46, "skłUB_UZ"},
    {47, "skłUB_UD_Zku"},
    {48, "skłUB_UD_Aku"},
    {49, "TSkłBrutto3"},
    {50, "SZUS_PODEM"},
    {51, "SZUS_SKLEM"},
    {53, "SZUS_SKLRE"},
    {54, "SZUS_PODCH"},
    {55, "SZUS_SKLCH"},
    {56, "SZUS_SKWYP"},
    {59, "SZUS_SUMBOY"},
    {60, "SZUS_PODERCWCała"},
    {62, "TskKodZUSRZA"},
    {63, "TSkłBrutto4"},
    {64, "SkłBrutta_StChorob"},
    {65, "SkłBrutta_DniWYNCH"},
    {66, "SkłBrutta_WYNCH"},
    {67, "SkłBrutta_DniWYNWYP"},
    {68, "SkłBrutta_WYNWYP"},
    {69, "SkłBrutta_DNiZCH"},
    {70, "SkłBrutta_ZasCh"},
    {71, "SkłBrutta_DNiZCH100"},
    {72, "SkłBrutta_ZasCh100"},
    {73, "SkłBrutta_DNiZWYP"},
    {74, "SkłBrutta_ZasWyp"},
    {75, "Text9"},
    {76, "SkłBrutta_IleZO"},
    {77, "SkłBrutta_ZO"},
    {78, "SkłBrutta_ILEZW"},
    {79, "SkłBrutta_ZW"},
    {80, "SkłBrutta_SR"},
    {81, "SkłBrutta_IleZMac"},
    {82, "SkłBrutta_ZMac"},
    {83, "TSkłBrutto5"},
    {84, "skłUB_UD_Zku_bz"},
    {85, "skłUB_UD_Aku_bz"},
    {86, "TSkłBrutto6"},
    {87, "PODATEK_KUP"},
    {88, "PODATEK_DOP"},
    {89, "PODATEK_PN"},
    {90, "PODATEK_BruttoBOY"},
    {91, "PODATEK_UP"},
    {92, "PODATEK_KUP_UZ"},
    {93, "PODATEK_UZ_DOP"},
    {94, "PODATEK_UZ_PN"},
    {95, "PODATEK_PodUzd"},
    {96, "PODATEK_UbZ"},
    {97, "PODATEK_KUP_Ud_bezzus"},
    {98, "PODATEK_UD_bezZ_DOP"},
    {99, "PODATEK_UD_BZ_PN"},
    {100, "Podatek_ZalObliczona"},
    {101, "PODATEK_ZalPodOdprow"},
    {102, "TSkłBrutto7"},
    {103, "Text6"},
    {104, "ZNO_ZR"},
    {105, "Text5"},
    {106, "ZNO_ZP"},
    {107, "Text4"},
    {108, "ZNO_ZPor"},
    {109, "Text3"},
    {110, "ZNO_ZPOG"},
    {111, "Text2"},
    {112, "ZNO_ZW"},
    {113, "Text1"},
    {114, "ZNO_ZI"},
    {115, "TSkłBrutto8"},
    {116, "TSkłBrutto9"},
};

// The option codes, numbered by code and value: the component 1000 * group + value.
struct KodOpcji {
    int pole;
    const char* kod;
    int wartosc;
};
constexpr KodOpcji kOpcje[] = {
    {9000, "PODATEK_KoUP", 0},  {9001, "PODATEK_KoUP", 1},  {7000, "PODATEK_PrógP", 0},
    {7001, "PODATEK_PrógP", 1}, {7002, "PODATEK_PrógP", 2}, {8000, "PODATEK_UlP", 0},
    {8001, "PODATEK_UlP", 1},
};

// The component catalogue, components 0 to 116 in order: description and short label.
struct Skladnik {
    const char* opis;
    const char* skrot;
};
constexpr Skladnik kSkladniki[] = {
    {"Płaca zasadnicza", "Płaca zas."},                                             // 0
    {"Urlopy", "Urlopy"},                                                           // 1
    {"Bezosobówka opodatkowana oskładkowana", "Bezos.opod.oskł."},                  // 2
    {"Składki na ubezpieczenia społeczne", "Skł.ZUS"},                              // 3
    {"Zasiłki opodatkowane nieoskładkowane", "Chorobowe"},                          // 4
    {"Bezosobówka nieoskładkowana", "Bezos.nieoskł."},                              // 5
    {"Podatek obliczony", "Podatek obl."},                                          // 6
    {"Składka na ubezp. zdrowotne", "Skł.zdrow."},                                  // 7
    {"Podatek odprowadzony", "Podatek odpr."},                                      // 8
    {"Płaca zasadnicza", "Płaca zas."},                                             // 9
    {"Inne", "In."},                                                                // 10
    {"Do wypłaty", "Do wypłaty"},                                                   // 11
    {"Obciążenie pracodawcy", "Obc.pracod."},                                       // 12
    {"Składki pracodawcy", "Skł.pracod."},                                          // 13
    {"Zaliczki na pobory", "Zaliczka"},                                             // 14
    {"Zajęcia sądowe", "Zaj.sąd."},                                                 // 15
    {"Potrącenia inne", "Potr.inne"},                                               // 16
    {"Ilość godzin normalnych", "Il.godz.norm."},                                   // 17
    {"Stawka godzinowa", "St.godz."},                                               // 18
    {"Płaca zasadnicza", "Płaca zas."},                                             // 19
    {"Ilość godzin 50%", "Il.godz.50%"},                                            // 20
    {"Stawka godzinowa", "St.godz."},                                               // 21
    {"Kwota nadgodzin 50%", "Nadgodz.50%"},                                         // 22
    {"Ilość godzin 100%", "Il.godz.100%"},                                          // 23
    {"Stawka godzinowa", "St.godz."},                                               // 24
    {"Kwota nadgodzin 100%", "Nadgodz.100%"},                                       // 25
    {"Ilość godzin nocnych", "Il.godz.noc."},                                       // 26
    {"Stawka godzinowa", "St.godz."},                                               // 27
    {"Kwota za godziny nocne", "Godz.nocne"},                                       // 28
    {"Ilość punktów akordu", "Il.pkt.akordu"},                                      // 29
    {"Stawka za punkt", "Stawka za punkt"},                                         // 30
    {"Akord", "Akord"},                                                             // 31
    {"Premia", "Premia"},                                                           // 32
    {"Procent premii", "Proc.premii"},                                              // 33
    {"Premia % od podstawy", "Premia %"},                                           // 34
    {"Brutto", "Brutto"},                                                           // 35
    {"Nagroda regulaminowa", "Nagr.regul."},                                        // 36
    {"Dodatek funkcyjny", "Dod.funkc."},                                            // 37
    {"Wysługa lat", "Wysługa"},                                                     // 38
    {"Dodatek za pracę w warunkach uciążliwych", "Szkodliwe"},                      // 39
    {"Ilość dni urlopu", "Il.dni urlopu"},                                          // 40
    {"Stawka urlopowa", "St.urlop."},                                               // 41
    {"Urlop", "Urlop"},                                                             // 42
    {"Ilość dni urlopu bezpłatnego", "Il.dni url.bezpł."},                          // 43
    {"Z brutta za urlopy", "Z brutta za url."},                                     // 44
    {"Brutto", "Brutto"},                                                           // 45
    {"Umowy zlecenia oskładkowane", "Um.zlec.oskł."},                               // 46
    {"Umowy odzieło zwykłe oskładkowane", "Um.dz.zw.oskł."},                        // 47
    {"Umowy odzieło autorskie oskładkowane", "Um.dz.aut.oskł."},                    // 48
    {"Brutto", "Brutto"},                                                           // 49
    {"Podstawa składki emerytalnej", "Podst.emeryt."},                              // 50
    {"Składka emerytalna", "Skł.emeryt."},                                          // 51
    {"", ""},                                                                       // 52
    {"Składka rentowa", "Skł.rent."},                                               // 53
    {"Podstawa składki chorobowej", "Podst.chorob."},                               // 54
    {"Składka chorobowa", "Skł.chorob."},                                           // 55
    {"Składka na ubezpieczenie wypadkowe", "Skł.wypadk."},                          // 56
    {"", ""},                                                                       // 57
    {"", ""},                                                                       // 58
    {"Suma składek od początku roku", "Suma skł.od pocz.roku"},                     // 59
    {"Cała podstawa", "Cała podst."},                                               // 60
    {"", ""},                                                                       // 61
    {"Kod ZUS(RZA)", "Kod ZUS(RZA)"},                                               // 62
    {"Brutto", "Brutto"},                                                           // 63
    {"Stawka chorobowa 100%", "Stawka chorobowa 100%"},                             // 64
    {"Ilość dni chorobowego", "Il.dni chorob."},                                    // 65
    {"Wynagrodzenie chorobowe", "Wynagr.chorob."},                                  // 66
    {"Ilość dni chorobowego wypadkowego)", "Il.dni chorobowego"},                   // 67
    {"Wynagrodzenie wypadkowe ", "Wynagr.wypadkowe"},                               // 68
    {"Ilość dni zasiłku chorobowego", "Il.dni zas.chorob."},                        // 69
    {"Zasiłek chorobowy", "Zas.chorob."},                                           // 70
    {"Ilość dni zasiłku chorobowego 100%", "Il.dni zas.chorob.100%"},               // 71
    {"Zasiłek chorobowy 100%", "Zas.chorob.100%"},                                  // 72
    {"Ilość dni zasiłku wypadkowego", "Il.dni zas.wypadk."},                        // 73
    {"Zasiłek wypadkowy", "Zas.wypadk."},                                           // 74
    {"Z brutto za chorobowe", "Z brutto za chorob."},                               // 75
    {"Ilość dni zasiłku opiekuńczego", "Il.dni zas.opiek."},                        // 76
    {"Zasiłek opiekuńczy", "Zas.opiek."},                                           // 77
    {"Ilość dni zasiłku wyrównawczego", "Il.dni zas.wyrówn."},                      // 78
    {"Zasiłek wyrównawczy", "Zas.wyrówn."},                                         // 79
    {"Świadczenie rehabilitacyjne", "Św.rehab."},                                   // 80
    {"Ilość dni zasiłku macierzyńskiego", "Il.dni zas.macierz."},                   // 81
    {"Zasiłek macierzyński", "Zas.macierz."},                                       // 82
    {"Brutto po zasiłkach", "Brutto po zas."},                                      // 83
    {"Umowy o dzieło zwykłe nieoskładkowane", "Um.dz.zw.nieoskł."},                 // 84
    {"Umowy o dzieło autorskie nieoskładkowane", "Um.dz.aut.nieoskł."},             // 85
    {"Brutto po umowach nieoskładkowanych", "Brutto po um.nieoskł."},               // 86
    {"Koszty uzyskania", "Koszty uzysk."},                                          // 87
    {"Podstawa opodatkowania", "Podst.opod."},                                      // 88
    {"Podatek należny", "Podatek należny"},                                         // 89
    {"Brutto od początku roku", "Brutto od pocz.roku"},                             // 90
    {"Ulga podatkowa", "Ulga"},                                                     // 91
    {"Koszty uzyskania - umowy oskładkowane", "Koszty uzysk.-um.oskł."},            // 92
    {"Podstawa opodatkowania - umowy oskładkowane", "Podst.opod.-um.oskł."},        // 93
    {"Podatek należny - umowy oskładkowane", "Pod.należny-um.oskł."},               // 94
    {"Podstawa ubezpieczenia zdrowotnego", "Podst.ubezp.zdrow."},                   // 95
    {"Składka ubezpieczenia zdrowotnego", "Skł.ubezp.zdrow."},                      // 96
    {"Koszty uzyskania - umowy nieoskładkowane", "Koszty uzysk.-um.nieoskł."},      // 97
    {"Podstawa opodatkowania - umowy nieoskładkowane", "Podst.opod.-um.nieoskł."},  // 98
    {"Podatek należny - umowy nieoskładkowane", "Pod.należny-um.nieoskł."},         // 99
    {"Podatek obliczony", "Podatek obliczony"},                                     // 100
    {"Podatek odprowadzony", "Podatek odprowadzony"},                               // 101
    {"Brutto po podatku", "Brutto po pod."},                                        // 102
    {"Ilość zasiłków rodzinnych", "Il.zas.rodz."},                                  // 103
    {"Zasiłek rodzinny", "Zas.rodz."},                                              // 104
    {"Ilość dni zasiłku pielęgnacyjnego", "Il.dni zas.pielęg."},                    // 105
    {"Zasiłek pielęgnacyjny", "Zas.pielęg."},                                       // 106
    {"Ilość zasiłków porodowych", "Il.zas.porod."},                                 // 107
    {"Zasiłek porodowy", "Zas.porod."},                                             // 108
    {"Ilość zasiłków pogrzebowych", "Il.zas.pogrz."},                               // 109
    {"Zasiłek pogrzebowy", "Zas.pogrz."},                                           // 110
    {"Ilość dni zasiłku wychowawczego", "Il.dni zas.wych."},                        // 111
    {"Zasiłek wychowawczy", "Zas.wych."},                                           // 112
    {"Ilość zasiłków innych", "Il.zas.innych"},                                     // 113
    {"Zasiłek inny", "Zasiłek inny"},                                               // 114
    {"Brutto po 2 zasiłkach ", "Brutto po 2 zasiłkach"},                            // 115
    {"Brutto końcowe", "Brutto końcowe"},                                           // 116
};
static_assert(std::size(kSkladniki) == 117);

}  // namespace

void ClsKonwersje::Konwersja_270() {
    DbWykonajKonwersje("Drop table [Place_Dane]");
    DbWykonajKonwersje(
        "create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT "
        "0,iddd counter)");
    DbWykonajKonwersje("alter TABLE [Place_Dane] ADD COLUMN [DP] text(50)");
    DbWykonajKonwersje(
        "create table [place_opisy] (pole long,OPIS text(255),SKR text(255),iddd counter)");
    DbWykonajKonwersje("alter TABLE [Deklaracje] ADD COLUMN [data_wpl] date");
    DbWykonajKonwersje("alter TABLE [Deklaracje] ADD COLUMN [spos_przekaz] long");
    DbWykonajKonwersje("alter TABLE [Deklaracje] ADD COLUMN [opis] memo");
    DbWykonajKonwersje("alter TABLE [Place_Dane] ADD COLUMN [pole] long");

    for (const auto& [pole, kod] : kKody)
        DbWykonajKonwersje("Update [place_dane] set [pole]=" + std::to_string(pole) +
                           " where [dp]='" + kod + "'");
    for (const auto& [pole, kod, wartosc] : kOpcje)
        DbWykonajKonwersje("Update [place_dane] set [pole]=" + std::to_string(pole) +
                           " where [dp]='" + kod + "' and [wartosc]=" + std::to_string(wartosc));
    DbWykonajKonwersje("delete from [place_dane] where [pole] is null ");

    for (int pole = 0; pole < static_cast<int>(std::size(kSkladniki)); ++pole)
        kroki::Opis_Skladnika(*this, pole, kSkladniki[pole].opis, kSkladniki[pole].skrot);
}

void ClsKonwersje::Konwersja_271() {
    DbWykonajKonwersje(
        "create table [place_Listy] (IDListy counter,Numer text(50),OPIS text(255),DataK "
        "date,DataP date,KosztPr money,ID_Kpir long)");
    DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN IDListy long");
    DbWykonajKonwersje(
        "update [Place_Dane] set [wartosc]=-[wartosc] where [wartosc]<0 and [pole]=12");

    // Every dated payroll value gets the list of its day; a day without a list gets a new
    // one, numbered with its own id, month and year. The values are read in date order, so
    // the lists are made day by day, each dated with the earliest payroll date of its day.
    std::unique_ptr<ado::Recordset> rs;
    std::unique_ptr<ado::Recordset> lista;
    if (DbOtwórzSELKonwersje(
            rs, "[IDP],[dataK],[wartosc],[IDListy] from [place_dane] order by [dataK]") > 0) {
        while (!rs->Eof()) {
            // A value without a payroll date has no day: it names no list.
            if (rs->Fields(1).value().is_null()) {
                rs->MoveNext();
                continue;
            }
            const double dzien = rs->Fields(1).value().to_date();
            const int32_t listy = DbOtwórzSELKonwersje(
                lista, "Opis,DataK,DataP,KosztPr,ID_Kpir,IDListy,Numer from [place_Listy] where " +
                           Warunek_Dzien(dzien, "[DataK]"));
            if (listy == 0) {
                lista->AddNew();
                lista->Fields(0) = jet::Value::text("Lista płac");
                lista->Fields(1) = jet::Value::date(dzien);
                lista->Fields(2) = jet::Value::date(dzien);
                lista->Fields(3) = jet::Value::long_(0);
                lista->Fields(4) = jet::Value::long_(0);
                lista->UpdateBatch();
            }
            // The id is the engine's, known once the list is saved. A list that a stopped
            // run saved without its number (the table is this step's: every list in it is
            // one the step made) gets it now.
            if (listy == 0 || (listy > 0 && lista->Fields(6).value().is_null())) {
                const jet::dates::Parts d = jet::dates::from_serial(dzien);
                lista->Fields(6) =
                    jet::Value::text(lista->Fields(5).value().to_text() + "/" +
                                     std::to_string(d.month) + "/" + std::to_string(d.year));
                lista->UpdateBatch();
            }
            rs->Fields(3) = kroki::Rekordy(lista).Fields(5).value();
            rs->UpdateBatch();
            rs->MoveNext();
            ZamknijRSKonwersje(lista);
        }
    }
    ZamknijRSKonwersje(rs);

    DbWykonajUPDKonwersje("[place_listy] set [KosztPr]=0", "", "", "");
    {
        // Each list adds the cost of each of its payroll lines once.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "[place_listy] inner join [Place_dane] on "
            "[place_listy].[IDListy]=[Place_dane].[IDListy] "
            "set [place_listy].[KosztPr]=[place_listy].[KosztPr]+[Place_dane].[Wartosc] where "
            "[Place_dane].[Pole]=12 and [Place_dane].[Wartosc] is not null",
            "", "", "");
    }
}
