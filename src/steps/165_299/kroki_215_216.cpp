// Steps 2.15 and 2.16: two contractor columns, and the owner's data, the program
// options and the place of issue moved from their old tables into Setup rows.
#include "db/nz.h"
#include "driver/konwersje.h"
#include "jet/value.h"

namespace {

// The suite maker's contact numbers that old option texts still give, and the contact
// line that replaces a text holding either of them.
constexpr std::string_view kStaryTelefon1 = "(0-22) 631-47-05";
constexpr std::string_view kStaryTelefon2 = "(0-22) 631-47-06";
constexpr const char* kLiniaKontaktowa = "Pomoc techniczna: tel. (0-22) 847-31-20";

// A flag as Setup keeps it: "0" for False (0), "1" for any other value. A Null flag
// was never set and counts as False.
std::string Flaga(const jet::Value& v) {
    if (v.is_null()) return "0";
    return v.to_double() == 0 ? "0" : "1";
}

}  // namespace

void ClsKonwersje::Konwersja_215() {
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [ProcentKier] Single DEFAULT 0");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [NumerWFK] Text(50)");
    DbWykonajKonwersje("Update [Kontrahenci] set [ProcentKier]=0 where [ProcentKier] is null");
}

void ClsKonwersje::Konwersja_216() {
    DbWykonajKonwersje("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
    for (const char* tabela :
         {"ostatnie_wystawienie", "ostatnie_wystawienie2", "ostatnie_wystawienie3",
          "ostatnie_wystawienie4", "ostatnie_wystawienie5"})
        DbWykonajKonwersje(std::string("drop table ") + tabela);

    std::unique_ptr<ado::Recordset> rs;

    // The owner's data: the first row of wlasciciel.
    if (DbOtwórzSELKonwersje(rs,
                             "[naz1], [naz2], [naz_skrot], [ulica], [miasto], [kod],    [tel], "
                             "[fax], [nip], [regon], [konto], [bank] from wlasciciel") > 0) {
        static constexpr const char* kKlucze[] = {
            "W:nazwa 1", "W:nazwa 2", "W:nazwa skrót", "W:ulica", "W:miasto", "W:kod",
            "W:tel",     "W:fax",     "W:nip",         "W:regon", "W:konto",  "W:bank"};
        for (int i = 0; i < 12; ++i)
            Zapisz_SetupKonwersje(kKlucze[i], NzStr(rs->Fields(i).value()));
    }
    ZamknijRSKonwersje(rs);

    // Older databases may lack the printing-mode column that the next read names.
    DbWykonajKonwersje("ALTER TABLE USTAWIENIA ADD COLUMN sp_drukowanie LOGICAL");

    // The program options: the first row of ustawienia.
    if (DbOtwórzSELKonwersje(rs,
                             " akt_rok,roczna,kopia,pytaj,Dr_Text,Text2,Text1,text3,    "
                             "sum_zamowienia,licz_odsetki,wys_odsetek,drukuj_odsetki,pokaz_netto,"
                             "sp_drukowanie,id_konh_el from ustawienia") > 0) {
        const auto pole = [&rs](int i) { return rs->Fields(i).value(); };
        Zapisz_SetupKonwersje("akt_rok", NzStr(pole(0)));
        Zapisz_SetupKonwersje("roczna", Flaga(pole(1)));
        // A Null option gives an empty value, as a Null owner field does.
        Zapisz_SetupKonwersje("kopia", NzStr(pole(2)));
        Zapisz_SetupKonwersje("pytaj", Flaga(pole(3)));
        Zapisz_SetupKonwersje("Dr_Text", NzStr(pole(4)));
        Zapisz_SetupKonwersje("Text2", NzStr(pole(5)));
        Zapisz_SetupKonwersje("Text1", NzStr(pole(6)));
        // The footer text that gave the maker's old contact numbers gets the new line.
        std::string tekst3 = NzStr(pole(7));
        if (tekst3.find(kStaryTelefon1) != std::string::npos ||
            tekst3.find(kStaryTelefon2) != std::string::npos)
            tekst3 = kLiniaKontaktowa;
        Zapisz_SetupKonwersje("Text3", tekst3);
        Zapisz_SetupKonwersje("sum_zamowienia", Flaga(pole(8)));
        Zapisz_SetupKonwersje("licz_odsetki", Flaga(pole(9)));
        Zapisz_SetupKonwersje("wys_odsetek", NzStr(pole(10)));
        Zapisz_SetupKonwersje("drukuj_odsetki", Flaga(pole(11)));
        Zapisz_SetupKonwersje("pokaz_netto", Flaga(pole(12)));
        Zapisz_SetupKonwersje("sp_drukowanie", Flaga(pole(13)));
        Zapisz_SetupKonwersje("id_konh_el", NzStr(pole(14)));
    }
    ZamknijRSKonwersje(rs);

    // The place of issue: its row of PARAMETRY_NAGLOWEK moves into Setup.
    if (DbOtwórzSELKonwersje(rs,
                             "dokument, nazwa from PARAMETRY_NAGLOWEK where "
                             "dokument='Miejsce wystawienia'") > 0) {
        Zapisz_SetupKonwersje("miejsce_wyst", NzStr(rs->Fields(1).value()));
        rs->Delete();
    }
    ZamknijRSKonwersje(rs);
}
