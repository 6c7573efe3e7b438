// Steps 4.00 to 4.06: settled amounts of cash documents, the amounts and tax offices of
// declarations, wider text columns, the amounts of the annual PIT forms as field rows,
// benefit breaks pointed at the party register, the daily rate, and purchase lines in
// stock units.
#include <array>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "db/nz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/functions.h"
#include "steps/165_299/wspolne.h"

void ClsKonwersje::Konwersja_400() {
    DbWykonajKonwersje("alter table [DOK_FIN] ADD COLUMN [Wart_Rozl] money DEFAULT 0");
    DbWykonajUPDKonwersje("DOK_FIN set Wart_Rozl=0", "", "", "");
    {
        // Each settling line adds its amount once to its cash document.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
            "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+Nz([Dok_fin_zawart].[kwota],0)",
            "", "", "");
    }
    DbWykonajKonwersje("alter table [DOK_ZAK] ADD COLUMN [Wart_Rozl] money DEFAULT 0");
}

void ClsKonwersje::Konwersja_401() {
    DbWykonajUPDKonwersje(
        "Deklaracje set Deklaracje.[kwota]=0 where mid(deklaracje.Nazwa,1,4)='Pit4'", "", "", "");
    DbWykonajUPDKonwersje(
        "Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set "
        "Deklaracje.[kwota]= deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole69' and "
        "mid(deklaracje.Nazwa,1,4)='Pit4' and deklaracje_zawart.[wartosc] Is Not Null",
        "", "", "");
    DbWykonajUPDKonwersje(
        "Deklaracje set Deklaracje.[kwota]=0 where mid(deklaracje.Nazwa,1,4)='Vat7'", "", "", "");
    DbWykonajUPDKonwersje(
        "Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set "
        "Deklaracje.[kwota]= deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole57' and "
        "mid(deklaracje.Nazwa,1,4)='Vat7' and deklaracje_zawart.[wartosc]<>'0' and "
        "deklaracje_zawart.[wartosc]<>'0,00'",
        "", "", "");
    DbWykonajUPDKonwersje(
        "Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set "
        "Deklaracje.[kwota]=-deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole61' and "
        "mid(deklaracje.Nazwa,1,4)='Vat7' and deklaracje_zawart.[wartosc]<>'0' and "
        "deklaracje_zawart.[wartosc]<>'0,00'",
        "", "", "");
    // A declaration takes its declarant's tax office; a declarant whose office is not
    // given (Null) leaves the declaration's own.
    DbWykonajUPDKonwersje(
        "Deklaracje inner join kontrahenci on Deklaracje.IDP=kontrahenci.konh_id set "
        "Deklaracje.[id_us]=kontrahenci.Konh_US_id where Deklaracje.IDP<>0 and "
        "kontrahenci.Konh_US_id Is Not Null",
        "", "", "");

    // The tax office named in the settings overrides that of every declaration of its form.
    // Of two parties of that name, the first entered (the lowest konh_id).
    for (const auto& [klucz, forma] : {std::pair{"us_vat", "Vat7"}, std::pair{"us_pit", "Pit4"}}) {
        const std::string nazwa(jet::fn::trim_view(Czytaj_SetupKonwersje(klucz)));
        if (nazwa.empty()) continue;
        std::unique_ptr<ado::Recordset> rs;
        if (DbOtwórzSELKonwersje(rs, "top 1 konh_id from kontrahenci where KONH_NAZWA='" +
                                         kroki::W_Apostrofach(nazwa) + "' order by konh_id") > 0)
            DbWykonajUPDKonwersje(
                "Deklaracje set Deklaracje.[id_us]=" + NzStr(rs->Fields(0).value()) +
                    " where mid(deklaracje.Nazwa,1,4)='" + forma + "'",
                "", "", "");
        ZamknijRSKonwersje(rs);
    }
}

void ClsKonwersje::Konwersja_402() {
    Zmien_Typ_Pola("nazwa_pliku", "text (100)", "DOK_FIN");
    Zmien_Typ_Pola("Powiat", "text (30)", "KONTRAHENCI");
    Zmien_Typ_Pola("Region", "text (30)", "KONTRAHENCI");
}

namespace {

// The form fields of the amount columns, in the order in which each form's selection
// names the columns.
constexpr std::array<int, 15> kPolaPit8B = {46, 47, 48, 49, 53, 54, 55, 56,
                                            60, 61, 62, 63, 66, 67, 68};
constexpr std::array<int, 21> kPolaPit11 = {36, 37, 38, 39, 40, 41, 60, 61, 62, 63, 64,
                                            65, 66, 67, 72, 73, 74, 75, 76, 77, 78};

// Copies the amounts of the form rows that wybor selects into field rows, replacing
// the rows' earlier field rows. A selection that cannot be read (its columns were
// dropped by an earlier run of the step, after their amounts were copied) copies
// nothing.
void Kopiuj_Pola_Pit(ClsKonwersje& k, const std::string& wybor, std::span<const int> pola) {
    std::unique_ptr<ado::Recordset> formy;
    std::unique_ptr<ado::Recordset> zawart;
    if (k.DbOtwórzSELKonwersje(formy, wybor, true) < 0) return;
    k.DbOtwórzSELKonwersje(zawart, "id ,Typ ,wartosc,wartosc2 FROM [KADRY_PIT_Zawart]");
    for (; !formy->Eof(); formy->MoveNext()) {
        const jet::Value id = formy->Fields(0).value();
        k.DbWykonajDELKonwersje("[KADRY_PIT_Zawart] where id=" + NzStr(id));
        for (size_t i = 0; i < pola.size(); ++i) {
            const jet::Value kwota = formy->Fields(static_cast<int>(i) + 1).value();
            ado::Recordset& z = kroki::Rekordy(zawart);
            z.AddNew();
            z.Fields(0) = id;
            z.Fields(1) = jet::Value::text("pole" + std::to_string(pola[i]));
            z.Fields(2) = kwota;
            z.Fields(3) = kwota;
            z.UpdateBatch();
        }
    }
    k.ZamknijRSKonwersje(formy);
    k.ZamknijRSKonwersje(zawart);
}

}  // namespace

void ClsKonwersje::Konwersja_403() {
    DbWykonajKonwersje(
        "create table [KADRY_PIT_ZAWART] (id long,Typ text(20),wartosc text(50),wartosc2 "
        "text(50),Countt Counter)");
    Kopiuj_Pola_Pit(*this,
                    "COUNTT,umcyw_przychod,  umcyw_ku, umcyw_dochod, umcyw_zaliczka, "
                    "umaut_przychod, umaut_ku, umaut_dochod, umaut_zaliczka, razem_przychod,  "
                    "razem_ku, razem_dochod, razem_zaliczka, ub_spol, zdr_pobr, zdr_odl FROM "
                    "[KADRY_PIT]  where [rodzaj]='PIT8B'",
                    kPolaPit8B);
    Kopiuj_Pola_Pit(*this,
                    "COUNTT,wyn1_przychod, wyn1_ku, wyn_dochod,  wyn_zaliczka, wyn2_przychod, "
                    "wyn2_ku, umcyw_przychod,  umcyw_ku, umcyw_dochod, umcyw_zaliczka, "
                    "umaut_przychod, umaut_ku, umaut_dochod, umaut_zaliczka, razem_przychod,  "
                    "razem_ku, razem_dochod, razem_zaliczka, ub_spol, zdr_pobr, zdr_odl FROM "
                    "[KADRY_PIT] where [rodzaj]='PIT11'",
                    kPolaPit11);
    for (const char* kolumna :
         {"umcyw_przychod", "umcyw_ku",       "umcyw_dochod",   "umcyw_zaliczka", "umaut_przychod",
          "umaut_ku",       "umaut_dochod",   "umaut_zaliczka", "razem_przychod", "razem_ku",
          "razem_dochod",   "razem_zaliczka", "ub_spol",        "zdr_pobr",       "zdr_odl",
          "wyn1_przychod",  "wyn1_ku",        "wyn_dochod",     "wyn_zaliczka",   "wyn2_przychod",
          "wyn2_ku"})
        Usun_Pole("KADRY_PIT", kolumna);
    Utworz_Klucz_Podstawowy("KADRY_PIT_ZAWART", "id asc ,typ asc");
}

// The benefit breaks move from the old employee ids onto the employees' parties, one
// party for each old id (kroki::Strony_Starych_Id); a break of no employee names none.
void ClsKonwersje::Konwersja_404() {
    kroki::Strony_Starych_Id(*this, 404, kroki::kStarzyPracownicy);
    kroki::Bez_Starej_Strony(*this, 404, kroki::kStarzyPracownicy, "PLACE_SWIADCZ_PRZERWY",
                             "ID_prac");
    DbWykonajKonwersje(kroki::Na_Strony("PLACE_SWIADCZ_PRZERWY", "PPP", "ID_prac"));
    DbWykonajKonwersje(std::string("drop table ") + kroki::kStronaStaregoId);
}

void ClsKonwersje::Konwersja_405() {
    DbWykonajKonwersje("ALTER TABLE [kadry_warunki] ADD COLUMN [StawkaD] currency");
}

void ClsKonwersje::Konwersja_406() {
    DbWykonajKonwersje("alter table [dok_zak_zawart] ADD COLUMN [Ilosc_Mag] Single DEFAULT 0");
    DbWykonajKonwersje("alter table [dok_zak_zawart] ADD COLUMN [Wsp_Przel] Single DEFAULT 0");
    DbWykonajKonwersje("alter table [dok_zak_zawart] ADD COLUMN [Sp_Przel] text(40)");
    DbWykonajKonwersje("alter table [dok_zak_zawart] ADD COLUMN [Nazwa_Asort] text(80)");
    DbWykonajUPDKonwersje(
        "[dok_zak_zawart] set [Ilosc_Mag]=[ILOSC] where [Ilosc_Mag]=0 or [Ilosc_Mag] is null", "",
        "", "");
    DbWykonajUPDKonwersje(
        "[dok_zak_zawart] set [Wsp_Przel]=1 where [Wsp_Przel]=0 or [Wsp_Przel] is null", "", "",
        "");
    DbWykonajUPDKonwersje(
        "[dok_zak_zawart] set [Sp_Przel]='Brak' where [Sp_Przel]='' or [Sp_Przel] is null", "", "",
        "");
    DbWykonajUPDKonwersje(
        "[dok_zak_zawart] inner join  [produkty] on [produkty].[PROD_ID]=[dok_zak_zawart].[sur_ID] "
        "set [Nazwa_Asort]=[produkty].[PROD_NAZWA_id] where [Nazwa_Asort]='' or [Nazwa_Asort] is "
        "null",
        "", "", "");
    DbWykonajKonwersje(
        "Create table PRODUKTY_WSP_PRZEL (prod_id Long,Sp_Przel text(20),Wsp_Przel currency,id "
        "counter)");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [Grupa_w_Zam] text(50)");
}
