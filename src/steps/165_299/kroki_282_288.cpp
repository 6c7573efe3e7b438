// Steps 2.82 to 2.88: payroll components 145 to 160 with their amount columns and the
// new labels of older components, the calendar table, the primary key of the
// sales-invoice lines, 80-character contractor names and the removal of every relation.
#include <array>
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

using kroki::Skladnik_Plac;

constexpr std::array<Skladnik_Plac, 12> kSkladniki145 = {{
    {145, "Za pranie", "Za pranie"},
    {146, "Dodatek 1", "Dodatek1"},
    {147, "Dodatek 2", "Dodatek2"},
    {148, "Świadczenie urlopowe", "Św.urlop."},
    {149, "Ekwiwalent za urlop", "Ekwiw.za url."},
    {150, "Dodatek inny 2", "Dod.inny2"},
    {151, "Razem przychód", "RAZEM PRZYCHÓD"},
    {152, "Podstawa składek ZUS", "Podst.skł.ZUS"},
    {153, "Podstawa składki zdrowotnej", "Podst.skł.zdr."},
    {154, "Podstawa podatku", "Podst.pod."},
    {155, "Dodatki", "Dodatki"},
    {156, "Koszty uzyskania", "K.uz."},
}};

constexpr std::array<Skladnik_Plac, 2> kSkladniki157 = {{
    {157, "Podstawa urlopowa", "Podstawa url."},
    {158, "Podstawa chorobowa", "Podstawa chor."},
}};

constexpr std::array<Skladnik_Plac, 2> kSkladniki159 = {{
    {159, "Ilość dni wyn.ch100%", "Dni wyn.ch.100%"},
    {160, "Wynagrodzenie chorobowe 100%", "Wyn.chor.100%"},
}};

// A new short label of a component, in the order in which step 2.82 writes them.
struct Skrot {
    int pole;
    const char* skr;
};

constexpr std::array<Skrot, 10> kSkroty282 = {{
    {3, "SKŁADKI RAZEM"},
    {96, "SKŁADKA ZDROWOTNA"},
    {11, "DO WYPŁATY"},
    {101, "PODATEK NALEŻNY"},
    {94, "POD.NAL.UM.CYW."},
    {99, "POD.NAL.UM.AUT."},
    {138, "SKŁADKA ZDROWOTNA"},
    {46, "UMOWA ZLECENIA"},
    {47, "UMOWA O DZIEŁO"},
    {48, "UMOWA AUTORSKA"},
}};

// The short label of a component.
void Zmien_Skrot(ClsKonwersje& k, int pole, const std::string& skr) {
    k.DbWykonajKonwersje("update [Place_Opisy] set [skr]= '" + skr +
                         "' where [pole] = " + std::to_string(pole) + " ");
}

// The short label and the description of a component.
void Zmien_Skrot_I_Opis(ClsKonwersje& k, int pole, const std::string& skr,
                        const std::string& opis) {
    k.DbWykonajKonwersje("update [Place_Opisy] set [skr]= '" + skr + "',[opis]='" + opis +
                         "' where [pole] = " + std::to_string(pole) + " ");
}

// The amount column of each component from od to do_ on the payroll data.
void Dodaj_Wartosci(ClsKonwersje& k, int od, int do_) {
    for (int n = od; n <= do_; ++n)
        k.DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN [wartosc" + std::to_string(n) +
                             "]  money");
}

// The primary key of the sales-invoice lines; lines that cannot take it stop the step.
void Klucz_Linii_Faktur() {
    Utworz_Klucz_Podstawowy("DOK_FAK_ZAWART", "FAKOUT_ID asc,PROD_ID asc,ZFAKOUT_CENA_N asc", 0);
}

}  // namespace

void ClsKonwersje::Konwersja_282() {
    DbWykonajKonwersje("create table [KALENDARZ] ([Data] date,[Typ] long,[iddd] counter)");
    for (int n = 6000; n <= 6004; ++n)
        DbWykonajKonwersje("alter table [Place_Dane] ADD COLUMN Owartosc" + std::to_string(n) +
                           " byte");
    Dodaj_Wartosci(*this, 145, 156);
    kroki::Dodaj_Skladniki_Plac(*this, "[place_opisy] where [pole]>144 and [pole]<157",
                                kSkladniki145);
    // Amounts kept under components 84 and 85 belong to 47 and 48.
    DbWykonajKonwersje(
        "update [Place_Dane] set [wartosc47]=[wartosc84],[wartosc84]=0 where [wartosc84]>0 ");
    DbWykonajKonwersje(
        "update [Place_Dane] set [wartosc48]=[wartosc85],[wartosc85]=0 where [wartosc85]>0 ");
    for (const Skrot& s : kSkroty282) Zmien_Skrot(*this, s.pole, s.skr);
}

void ClsKonwersje::Konwersja_283() {
    Klucz_Linii_Faktur();
}

void ClsKonwersje::Konwersja_284() {
    Zmien_Skrot_I_Opis(*this, 133, "Dni robocze", "Dni robocze");
    Zmien_Skrot_I_Opis(*this, 134, "Dni przepr.", "Dni przepracowane");
}

void ClsKonwersje::Konwersja_285() {
    Klucz_Linii_Faktur();
    kroki::Dodaj_Skladniki_Plac(*this, "[place_opisy] where [pole]>=157 and [pole]<=158",
                                kSkladniki157);
    Dodaj_Wartosci(*this, 157, 158);
    Zmien_Skrot_I_Opis(*this, 19, "Płaca godz.", "Płaca godzinowa");
    Zmien_Skrot_I_Opis(*this, 136, "Płaca mies.", "Płaca miesięczna");
}

void ClsKonwersje::Konwersja_286() {
    kroki::Dodaj_Skladniki_Plac(*this, "[place_opisy] where [pole]>=159 and [pole]<=160",
                                kSkladniki159);
    Dodaj_Wartosci(*this, 159, 160);
}

void ClsKonwersje::Konwersja_287() {
    std::string nazwa = "KONH_NAZWA";
    Zmien_Typ_Pola("KONH_NAZWA", "text(80)", "kontrahenci", nazwa);
    std::string nazwa2 = "KONH_NAZWA2";
    Zmien_Typ_Pola("Konh_nazwa2", "text(80)", "kontrahenci", nazwa2);
}

void ClsKonwersje::Konwersja_288() {
    kroki::Z_Baza_DAO(*this, kroki::Usun_Relacje);
}
