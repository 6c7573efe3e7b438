// Steps 3.77 to 3.81: dated payroll parameters, wider book columns, the contractor
// discount as money, work calendars and employee groups, and the product costing tables.
#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/text.h"
#include "jet/types.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

namespace {

// A date written day first, as the suite spells its dates ("01-06-2001").
double Data_Dnia(const char* tekst) {
    return *jet::dates::parse(tekst);
}

// An amount of a payroll parameter.
jet::Currency Kwota(double w) {
    return jet::Currency::from_double(w);
}

}  // namespace

void ClsKonwersje::Dodaj_Parametr_Place(double dataod, int16_t id, jet::Currency wartosc,
                                        jet::Currency wartosc2, jet::Currency wartosc3,
                                        jet::Currency wartosc4, jet::Currency wartosc5,
                                        jet::Currency wartosc6, jet::Currency wartosc7,
                                        jet::Currency wartosc8, jet::Currency wartosc9,
                                        jet::Currency wartosc10) {
    const std::array<jet::Currency, 10> wartosci = {wartosc,  wartosc2, wartosc3, wartosc4,
                                                    wartosc5, wartosc6, wartosc7, wartosc8,
                                                    wartosc9, wartosc10};
    std::unique_ptr<ado::Recordset> rs;
    const int32_t ile = DbOtwórzSEL(
        rs,
        "[id],[dataod],[wartosc],[wartosc2],[wartosc3],[wartosc4],[wartosc5],[wartosc6],"
        "[wartosc7],[wartosc8],[wartosc9],[wartosc10] from [Place_Parametry] WHERE [ID]= " +
            std::to_string(id) + " AND " + Warunek_Dzien(dataod, "[dataod]"),
        kOtworzEdycja);
    // A parameter of that day (or an open that was ignored) adds nothing.
    if (ile == 0) {
        rs->AddNew();
        rs->Fields(0) = jet::Value::integer(id);
        rs->Fields(1) = jet::Value::date(dataod);
        for (size_t i = 0; i < wartosci.size(); ++i)
            rs->Fields(static_cast<int>(i) + 2) = jet::Value::currency(wartosci[i]);
        rs->UpdateBatch();
    }
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_377() {
    for (const char* tabela : {"KADRY_OPCJE", "KADRY_PODATEK", "KADRY_RODZINA", "KADRY_UMOWY",
                               "KADRY_UMOWYC", "PLACE_SWIADCZ_PRZERWY"})
        DbWykonajKonwersje(std::string("drop index Podstawowy ON ") + tabela);

    const double czerwiec = Data_Dnia("01-06-2001");
    const double wrzesien = Data_Dnia("01-09-2001");
    const jet::Currency zero{};
    Dodaj_Parametr_Place(czerwiec, 40, Kwota(41.2), Kwota(51), Kwota(63.7), zero, zero, zero, zero,
                         zero, zero, zero);
    Dodaj_Parametr_Place(czerwiec, 41, Kwota(408.71), zero, zero, zero, zero, zero, zero, zero,
                         zero, zero);
    Dodaj_Parametr_Place(czerwiec, 42, Kwota(308.8), Kwota(491), zero, zero, zero, zero, zero, zero,
                         zero, zero);
    Dodaj_Parametr_Place(czerwiec, 43, Kwota(135.96), zero, zero, zero, zero, zero, zero, zero,
                         zero, zero);
    Dodaj_Parametr_Place(czerwiec, 45, Kwota(4087.1), zero, zero, zero, zero, zero, zero, zero,
                         zero, zero);
    Dodaj_Parametr_Place(wrzesien, 41, Kwota(401.38), zero, zero, zero, zero, zero, zero, zero,
                         zero, zero);
    Dodaj_Parametr_Place(wrzesien, 45, Kwota(4013.84), zero, zero, zero, zero, zero, zero, zero,
                         zero, zero);
}

void ClsKonwersje::Konwersja_378() {
    static constexpr const char* kKolumny[] = {"konh_nazwa", "konh_adres", "opis"};
    // A change that a run of the suite's earlier tool stopped in before it dropped its
    // column left the temporary column last, beside that column, which still holds every
    // value: the change drops the copy and runs whole. The copy's type is a widening's as
    // well, so the change cannot tell it from a widening's copy; but no widening runs in
    // this step, and the change under way is that of the first column not yet of its new
    // type (one that is gone is past its drop, and the change knows its copy).
    const auto pola = Pola_Tabeli("KPIR_KSIEGA");
    if (pola && !pola->empty() && pola->back().nazwa == kKolumnaTymczasowa) {
        for (const char* kolumna : kKolumny) {
            const auto p = std::find_if(pola->begin(), pola->end(), [&](const Pole_Tabeli& x) {
                return jet::text::same_name(x.nazwa, kolumna);
            });
            if (p == pola->end()) break;
            if (p->typ == static_cast<int>(jet::DataType::Text) && p->rozmiar == 255) continue;
            DbWykonajKonwersje(std::string("alter table KPIR_KSIEGA drop COLUMN ") +
                               kKolumnaTymczasowa + " ");
            break;
        }
    }
    for (const char* kolumna : kKolumny) Zmien_Typ_Pola(kolumna, "text (255)", "KPIR_KSIEGA");
}

void ClsKonwersje::Konwersja_379() {
    Zmien_Typ_Pola("Rabat", "money DEFAULT 0", "KONTRAHENCI");
}

void ClsKonwersje::Konwersja_380() {
    DbWykonajKonwersje(
        "CREATE TABLE [S_KALENDARZE] (ID_KAL int identity, NAZWA Text (20), OPIS Text (50))");
    DbWykonajKonwersje("alter table [KALENDARZ] ADD COLUMN ID_KAL int DEFAULT 0");
    DbWykonajDELKonwersje("[S_KALENDARZE]", "");
    DbWykonajIINKonwersje("[S_KALENDARZE] (ID_KAL,NAZWA,OPIS) values (1,'Kalendarz','Podstawowy')");
    DbWykonajKonwersje("Update [KALENDARZ] set ID_KAL = 1 where ID_KAL is NULL");
    DbWykonajKonwersje(
        "CREATE TABLE [S_GRUPYP] (ID_GRUPY int identity, NAZWA Text (20), OPIS Text (50))");
    DbWykonajDELKonwersje("[S_GRUPYP]", "");
    DbWykonajIINKonwersje(
        "[S_GRUPYP] (ID_GRUPY,NAZWA,OPIS) values (1,'Wszyscy','Wszyscy pracownicy')");
    DbWykonajKonwersje("alter table [KADRY_OPCJE] ADD COLUMN ID_GRUPY int DEFAULT 0");
    DbWykonajKonwersje("alter table [KADRY_OPCJE] ADD COLUMN ID_KAL int DEFAULT 0");
    DbWykonajKonwersje("Update [KADRY_OPCJE] set ID_GRUPY = 1 where ID_GRUPY is NULL");
    DbWykonajKonwersje("Update [KADRY_OPCJE] set ID_KAL = 1 where ID_KAL is NULL");
}

void ClsKonwersje::Konwersja_381() {
    // No drop first: a table left by an earlier run keeps its rows, and the executor
    // absorbs the failed CREATE.
    DbWykonajKonwersje(
        "CREATE TABLE [PRODUKTY_KALKULACJA] (KALKULACJA int identity,PROD_ID int DEFAULT 0,"
        "KOSZTY1 money DEFAULT 0,KOSZTY1_Proc money DEFAULT 0,KOSZTY1_Raz money DEFAULT 0,"
        "KOSZTY2 money DEFAULT 0,KOSZTY2_Proc money DEFAULT 0,KOSZTY2_Raz money DEFAULT 0,"
        "KOSZTY3 money DEFAULT 0,KOSZTY3_Proc money DEFAULT 0,KOSZTY3_Raz money DEFAULT 0,"
        "KOSZTY4 money DEFAULT 0,KOSZTY4_Proc money DEFAULT 0,KOSZTY4_Raz money DEFAULT 0,"
        "KOSZTY5 money DEFAULT 0,KOSZTY5_Proc money DEFAULT 0,KOSZTY5_Raz money DEFAULT 0,"
        "KOSZTY_Suma money DEFAULT 0,KOSZTY_Sur money DEFAULT 0,KOSZTY_Razem money DEFAULT 0,"
        "KOSZTY_szt money DEFAULT 0,MARZAP money DEFAULT 0,Cena_hur_net money DEFAULT 0,"
        "Cena_hur_br money DEFAULT 0,MARZAS money DEFAULT 0,Cena_det_net money DEFAULT 0,"
        "Cena_det_br money DEFAULT 0)");
    DbWykonajKonwersje(
        "CREATE TABLE [PRODUKTY_KOSZTY] (KOSZT_ID int identity,NAZWA Text (255),KWOTA money "
        "DEFAULT 0,TYP int DEFAULT 0,POBRANE Logical)");

    // Every employee of category 'P' without any options row gets one from 1 October
    // 2001, in group 1 and calendar 1.
    std::unique_ptr<ado::Recordset> pracownicy;
    std::unique_ptr<ado::Recordset> opcje;
    if (DbOtwórzSEL(pracownicy, "ID FROM [KADRY_PRACOWNICY] where [KATEGORIA]='P' ",
                    kOtworzOdczyt) > 0) {
        const double pazdziernik = Data_Dnia("01-10-2001");
        for (; !pracownicy->Eof(); pracownicy->MoveNext()) {
            const jet::Value id = pracownicy->Fields(0).value();
            if (DbOtwórzSEL(opcje,
                            "ID_prac,Dataod,ID_Grupy,ID_Kal FROM [KADRY_OPCJE] where [id_prac]= " +
                                id.to_text() + " ",
                            kOtworzEdycja) == 0) {
                opcje->AddNew();
                opcje->Fields(0) = id;
                opcje->Fields(1) = jet::Value::date(pazdziernik);
                opcje->Fields(2) = jet::Value::long_(1);
                opcje->Fields(3) = jet::Value::long_(1);
                opcje->UpdateBatch();
            }
        }
    }
    ZamknijRS(pracownicy);
    ZamknijRS(opcje);

    DbWykonajKonwersje("alter table [OKRESY_ROZLICZEN] drop column [tydzien]");
    DbWykonajKonwersje("alter table [OKRESY_ROZLICZEN] drop column [dzien1]");
}
