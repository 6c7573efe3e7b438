// Steps 2.38 to 2.41: the final kind codes of the revenue and expense book, two column
// clean-ups of correction and collective documents, purchase corrections turned into
// negative amounts, and the document tables of the 2.41 release: numbers as text of
// 200 characters, amounts as currency, four payment forms, obsolete flags and indexes
// gone, wider user names and passwords, and the table of help texts.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "db/schemat.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

// The four payment forms that the documents keep; any other text fails this condition
// on the payment-form column kolumna ("dowody_dostaw.FPLAT_NAZWA_ID").
std::string Inna_Forma_Platnosci(const std::string& kolumna) {
    return kolumna + "<>'Gotówka' and " + kolumna + "<>'Przelew' and " + kolumna +
           "<>'Gotówka+Przelew' and " + kolumna + "<>'Przelew+Gotówka'";
}

// The update that gives a document the payment form of its contractor where the
// document's form is Null or none of the four (a contractor without one leaves the
// document's as it stands); the table written as tabela, the column name before and after
// the dot as the statements write them.
std::string Forma_Kontrahenta(const std::string& tabela) {
    return tabela + " inner join kontrahenci on kontrahenci.konh_id=" + tabela + ".konh_id set " +
           tabela + ".Fplat_nazwa_id=" +
           kroki::Kopia_Bez_Nulla(tabela + ".Fplat_nazwa_id", "kontrahenci.Fplat_nazwa_id") +
           " where (" + tabela + ".Fplat_nazwa_id is null) or (" +
           Inna_Forma_Platnosci(tabela + ".FPLAT_NAZWA_ID") + ")";
}

// A type text and the columns of a table changed to it, in the step's order.
struct Typ_Kolumn {
    const char* typ;
    std::initializer_list<const char*> kolumny;
};

}  // namespace

void ClsKonwersje::Konwersja_238() {
    // Kind 4 becomes 41 after 41 has become 40: run again, the recoding would make those
    // entries 40. The step is not among those that go on over the earlier tool's half-done
    // work, so a run that the Log shows stopped inside it never reaches here.
    DbWykonajKonwersje("drop table [KONTRAHENT_RODZAJ]");
    // One statement a code, in this order: a row recoded here matches no later test.
    static constexpr std::pair<int, int> kKody[] = {{10, 2},  {20, 11}, {21, 1}, {30, 3},
                                                    {40, 41}, {41, 4},  {50, 5}, {99, 0}};
    // An entry without a kind is one of kind 0.
    for (const auto& [nowy, stary] : kKody)
        DbWykonajKonwersje("update [KPiR_ksiega] set [Rodzaj]=" + std::to_string(nowy) +
                           " where [Rodzaj]=" + std::to_string(stary) +
                           (stary == 0 ? " or [Rodzaj] is null" : ""));
}

void ClsKonwersje::Konwersja_239() {
    DbWykonajKonwersje("update [K_FAKTUR] set [fkorout_numer]='' where [fkorout_numer]='0'");
    DbWykonajKonwersje("update [DOWODY_DOSTAW] set [Zbiorczy_id]=0 where [Zbiorczy_id] is null");
}

void ClsKonwersje::Konwersja_240() {
    // A line of a purchase correction changes its sign once: two corrections of one id
    // would change it twice.
    kroki::Jeden_Wiersz_Na_Klucz(*this, 240, "k_FAKTUR", "FKOROUT_ID", " and ZAKUP=-1");
    DbWykonajKonwersje(
        "update [k_FAKTUR] set [fkorout_wart_n]=-[fkorout_wart_n],"
        "fkorout_wart_vat=-fkorout_wart_vat,[WART_KP]=-[WART_KP] where ZAKUP=-1");
    DbWykonajKonwersje(
        "update [k_FAKTUR] INNER JOIN [k_fAKTUR_ZAWART] ON "
        "[k_FAKTUR].[FKOROUT_ID]=[k_fAKTUR_ZAWART].[FKOROUT_ID] set "
        "[ZFKOROUT_ILOSC]=-[ZFKOROUT_ILOSC],zfkorout_ilosckor=-zfkorout_ilosckor where "
        "ZAKUP=-1");
}

void ClsKonwersje::Konwersja_241() {
    const auto dodaj = [this](const std::string& prefiks, const char* kolumna) {
        DbWykonajKonwersje(prefiks + "ADD COLUMN" + kolumna);
    };
    const auto usun_indeksy = [this](const char* tabela,
                                     std::initializer_list<const char*> indeksy) {
        for (const char* indeks : indeksy)
            DbWykonajKonwersje(std::string("drop INDEX [") + indeks + "] ON [" + tabela + "]");
    };
    // A table's changes of type in the step's order, made from lists of the type texts and
    // the columns changed to each (Typ_Kolumn). Some find their column as they leave it:
    // the copy of such a change under way cannot be told from a later change's, but by the
    // columns' order. One that a stopped run left last, beside its column, is dropped
    // before the table's first change, and the changes run whole from there.
    using Zmiany = std::vector<Zmiana_Pola>;
    const auto zmiany = [](std::initializer_list<Typ_Kolumn> lista) {
        Zmiany z;
        for (const auto& [typ, kolumny] : lista)
            for (const char* kolumna : kolumny) z.push_back({kolumna, kolumna, typ, typ});
        return z;
    };
    const auto zmien = [this](const char* tabela, const Zmiany& z, size_t od, size_t do_) {
        if (od == 0 && Kopia_Zmiany_W_Toku(tabela, z))
            DbWykonajKonwersje(std::string("alter table ") + tabela + " drop COLUMN " +
                               kKolumnaTymczasowa + " ");
        for (size_t i = od; i < do_; ++i) Zmien_Typ_Pola(z[i].kolumna, z[i].typ, tabela);
    };
    const auto zmien_typ = [&zmien](const char* tabela, const Zmiany& z) {
        zmien(tabela, z, 0, z.size());
    };

    // 1. The issuer of every document.
    dodaj("ALTER TABLE Paragon ", " FAKOUT_WYST TEXT (26)");
    dodaj("alter table dowody_dostaw ", " FAKOUT_WYST TEXT (26)");
    dodaj("alter table dowody_zwrotu ", " FAKOUT_WYST TEXT (26)");
    dodaj("alter table Dok_Wewnentrzne ", " FAKOUT_WYST TEXT (26)");
    dodaj("alter table Produkcja ", " FAKOUT_WYST TEXT (26)");

    // 2. The old network table; a failure is only logged.
    DbWykonajKonwersjeNoErr("drop INDEX [INCOUNTER] ON [siec]");
    DbWykonajKonwersjeNoErr("DROP table [siec]");

    // 3. Deletion and saved marks.
    Usun_Pole("zakupy", "del");
    Usun_Pole("zakupy", "zapisz");
    for (const char* tabela : {"dok_wewnentrzne", "dowody_dostaw", "dowody_zwrotu", "faktury",
                               "K_faktur", "produkcja", "Paragon"})
        Usun_Pole(tabela, "zapis");

    // 4. Columns that every document table now has.
    dodaj("alter table dowody_zwrotu ", " ddout_Termin_zaplaty date");
    dodaj("alter table dowody_zwrotu ", " Remanent logical");
    dodaj("alter table dowody_zwrotu ", " rodzdok text(1)");
    dodaj("alter table dowody_dostaw ", " rodzdok text(1)");
    dodaj("alter table dok_wewnentrzne ", " Zbiorczy_id long");
    dodaj("alter table dok_wewnentrzne ", " Zakup logical");
    for (const char* kolumna :
         {" num_ndok long", " kier_id long", " smz_id long", " Zbiorczy_id long", " Zakup logical"})
        dodaj("alter table produkcja ", kolumna);
    dodaj("ALTER TABLE Paragon ", " Zbiorczy_id long");
    dodaj("ALTER TABLE Paragon ", " Zakup logical");

    // 5. Internal documents.
    zmien_typ("DOK_WEWNENTRZNE",
              zmiany({{"text (200)", {"DDOUT_NUMER", "DDOUT_DEL"}},
                      {"CURRENCY",
                       {"DDOUT_WART_N", "DDOUT_wart_VAT", "rabat", "b_rabat_n", "b_rabat_v"}}}));

    // 6. Delivery notes.
    usun_indeksy("dowody_dostaw", {"fplat_nazwa_id", "FAKOUT_ID", "FAKOUT_NUMER", "KONH_ID"});
    static constexpr std::initializer_list<Typ_Kolumn> kDowody = {
        {"text (200)", {"DDOUT_NUMER", "DDOUT_DEL"}},
        {"CURRENCY", {"rabat", "b_rabat_n", "b_rabat_v"}}};
    const Zmiany dowody = zmiany(kDowody);
    zmien_typ("dowody_dostaw", dowody);
    DbWykonajKonwersje("update " + Forma_Kontrahenta("dowody_dostaw"));

    // 7. Returns: they keep their payment forms.
    usun_indeksy("dowody_zwrotu", {"FAKOUT_ID", "FAKOUT_NUMER", "fplat_nazwa_id", "KONH_ID"});
    zmien_typ("dowody_zwrotu", dowody);

    // 8. Sales invoices.
    usun_indeksy("faktury", {"FAKOUT_ID", "FAKOUT_NUMER", "FPŁAT_ID", "FAKOUT_WYST", "KONH_ID"});
    static constexpr std::initializer_list<Typ_Kolumn> kFaktury = {
        {"text (200)", {"FAKOUT_NUMER", "FAKOUT_DEL"}},
        {"TEXT(50)", {"FPLAT_NAZWA_ID"}},
        {"CURRENCY", {"FAKOUT_RABAT"}},
        {"TEXT(81)", {"FAKOUT_WYST"}},
        {"CURRENCY", {"b_rabat_n", "b_rabat_v", "fakout_kwota_zapl"}}};
    const Zmiany faktury = zmiany(kFaktury);
    zmien("faktury", faktury, 0, 3);
    DbWykonajKonwersje("Update " + Forma_Kontrahenta("FAKTURY"));
    zmien("faktury", faktury, 3, faktury.size());

    // 9. Correction invoices: the discounts are retyped a second time after the
    // correction link.
    static constexpr std::initializer_list<Typ_Kolumn> kKorekty = {
        {"text (200)", {"fkorout_numer", "fkorout_del"}},
        {"CURRENCY", {"fkorout_rabat", "b_rabat_n", "b_rabat_v"}},
        {"LONG", {"del_fakout_id"}},
        {"CURRENCY", {"fkorout_rabat", "b_rabat_n", "b_rabat_v"}}};
    const Zmiany korekty = zmiany(kKorekty);
    usun_indeksy("K_faktur", {"FAKOUT_ID", "FPLAT_NAZWA_ID", "konh_id"});
    zmien("K_faktur", korekty, 0, 5);
    usun_indeksy("K_faktur", {"del_fakout_id", "FAKOUT_ID1", "FAKOUT_ID"});
    zmien("K_faktur", korekty, 5, korekty.size());
    DbWykonajUPDKonwersje(Forma_Kontrahenta("K_FAKTUR"), "", "", "");

    // 10. Receipts: only a missing payment form is filled from the contractor.
    usun_indeksy("Paragon", {"FAKOUT_ID", "FAKOUT_NUMER", "fplat_nazwa_id", "konh_Id"});
    zmien_typ("Paragon", zmiany({{"text (200)", {"DDOUT_NUMER", "DDOUT_DEL"}},
                                 {"CURRENCY", {"b_rabat_n", "b_rabat_v"}}}));
    DbWykonajUPDKonwersje(
        "Paragon inner join kontrahenci on kontrahenci.konh_id=Paragon.konh_id set "
        "Paragon.Fplat_nazwa_id=kontrahenci.Fplat_nazwa_id where Paragon.Fplat_nazwa_id is null",
        "", "", "");

    // 11. Purchases: any other payment form becomes a transfer; Null stays.
    usun_indeksy("zakupy", {"numer_dokumentu", "konh_Id", "numer_id"});
    zmien_typ("zakupy",
              zmiany({{"text (200)", {"numer_zaksiegowania", "numer_dokumentu", "numer_del"}},
                      {"text(50)", {"f_platnosci"}}}));
    DbWykonajKonwersje("Update zakupy set f_platnosci='Przelew' where " +
                       Inna_Forma_Platnosci("f_platnosci"));

    // 12. Production documents, the VAT register and stocktaking prices.
    zmien_typ("produkcja",
              zmiany({{"CURRENCY",
                       {"DDOUT_WART_N", "DDOUT_wart_VAT", "rabat", "b_rabat_n", "b_rabat_v"}}}));
    zmien_typ("tabela_vat",
              zmiany({{"CURRENCY", {"vat7", "vat22", "n7", "n22", "nzw", "n0", "vat3", "n3"}}}));
    zmien_typ("REMANENTINWENT_ZAWART", zmiany({{"CURRENCY", {"Cena"}}}));

    // 13. Paid marks, the warehouse mark of invoices and old purchase marks.
    Usun_Pole("faktury", "FAKOUT_ZAPLACONA");
    Usun_Pole("K_FAKTUR", "Fkorout_zaplacona");
    for (const char* tabela : {"dok_wewnentrzne", "Paragon", "dowody_dostaw", "dowody_zwrotu"})
        Usun_Pole(tabela, "ddout_zaplacona");
    Usun_Pole("faktury", "FAKOUT_mag");
    Usun_Pole("zakupy", "zakup_rodzaj");
    Usun_Pole("zakupy", "rodzajdok");
    Usun_Pole("zakupy", "rozliczona");

    // 14. Users: wider names and passwords.
    DbWykonajKonwersje("drop INDEX [nazwisko_uzytkownika] ON [UZYTKOWNICY]");
    zmien_typ("UZYTKOWNICY", zmiany({{"text(100)", {"nazwisko_uzytkownika", "Haslo"}}}));

    // 15. and 16.
    DbWykonajKonwersje("create table [HELP] ([Formatka] LONG, [Tresc] memo,[Countt] counter)");
    Usun_Pole("SRODKI_TRWALE_ZAWART", "wlasna_amort");
}
