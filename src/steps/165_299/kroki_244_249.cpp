// Steps 2.44 to 2.49: the log of deleted documents, into which every document that
// never got a number is moved before it is deleted with its lines; a production
// document without a number numbered by its id; cash desks of old cash documents;
// obsolete order tables; and the original prices of correction lines.
#include <string>

#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// One kind of unnumbered document copied into the deleted-documents log.
struct Usuwany {
    const char* rodzaj;    // the kind written to [rodzaj]
    const char* tabela;    // the header table
    const char* numer;     // the number column: '' or Null means unnumbered
    const char* usuniety;  // the column that holds the number of a deleted document
    const char* id;        // the document's id
    const char* data;      // the document's date
    const char* warunek;   // the further condition ("" when none)
};

// In copy order; the deletions of a table follow its last copy.
constexpr Usuwany kUsuwane[] = {
    {"Sprzedaż_F_VAT", "faktury", "FAKOUT_NUMER", "FAKOUT_DEL", "FAKOUT_ID", "FAKOUT_DATA_WYST",
     ""},
    {"Sprzedaż_korekta", "k_faktur", "FKOROUT_NUMER", "FKOROUT_DEL", "FKOROUT_ID",
     "FKOROUT_DATA_WYST", ""},
    {"Paragon", "Paragon", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST", ""},
    {"Sprzedaż_detal", "DOK_WEWNENTRZNE", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "rodzdok='R'"},
    {"MAGAZYN_PW", "DOK_WEWNENTRZNE", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "rodzdok='P'"},
    {"Sprzedaż_ddost", "DOWODY_DOSTAW", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "ZAKUP=0"},
    {"Zakup_ddost", "DOWODY_DOSTAW", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "ZAKUP=-1"},
    {"Sprzedaż_zwroty", "DOWODY_zwrotu", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "ZAKUP=0"},
    {"Zakup_zwroty", "DOWODY_zwrotu", "DDOUT_NUMER", "DDOUT_del", "DDOUT_ID", "DDOUT_DATA_WYST",
     "ZAKUP=-1"},
    {"zakupy", "ZAKUPY", "NUMER_ZAKSIEGOWANIA", "NUMER_DEL", "NUMER_ID", "DATA_ZAKSIEGOWANIA", ""},
};

// The key that joins a header table to its lines in the deletion of the lines.
std::string Klucz_Linii(const std::string& tabela) {
    if (tabela == "faktury") return "FAKOUT_ID";
    if (tabela == "k_faktur") return "FKOROUT_ID";
    if (tabela == "ZAKUPY") return "numer_id";
    return "DDOUT_ID";
}

}  // namespace

void ClsKonwersje::Konwersja_244() {
    Usun_Pole("k_faktur_zawart", "WtymRiR");
    Usun_Pole("k_faktur_zawart", "KPiR_RiR");
    Usun_Pole("Zakupy_zawart", "KPiR_RiR");
    DbWykonajKonwersje(
        "create table [Usunieto] ([rodzaj] text(50),[nr_dokumentu] TEXT (200), [id_dokumentu] "
        "long, [id_kontrahenta] long, [data_dokumentu] date,[data_usuniecia] date, [kto_usunol] "
        "TEXT (81))");
    DbWykonajKonwersje("drop INDEX [SPRZ_ID] ON [dok_wewnentrzne_zawart]");
    DbWykonajKonwersje("drop INDEX [PROD_ID] ON [dok_wewnentrzne_zawart]");
    for (const char* tabela :
         {"dok_wewnentrzne_zawart", "produkcja_zawart", "PRODUKCJA_ZAWART_SUROWCE"}) {
        std::string nazwa = "ddout_id";
        Zmien_Typ_Pola("sprz_id", "long", tabela, nazwa);
    }
    DbWykonajKonwersje("ALTER TABLE k_faktur ADD COLUMN FAKOUT_WYST TEXT (81)");
    DbWykonajKonwersje("ALTER TABLE zakuPy ADD COLUMN FAKOUT_WYST TEXT (81)");

    // Unnumbered documents: a row in the log for each kind, then the lines and the
    // headers of every unnumbered document of the table, whatever its kind.
    for (size_t i = 0; i < std::size(kUsuwane); ++i) {
        const Usuwany& u = kUsuwane[i];
        const std::string numer = u.numer;
        const std::string bez_numeru = numer + "='' or " + numer + " is null";
        const std::string warunek =
            *u.warunek ? "(" + bez_numeru + ") and " + u.warunek : bez_numeru;
        // An earlier run logged this kind when the log holds rows of it (its insert is
        // whole or nothing), or logged and deleted every unnumbered document when it has
        // dropped the column that the insert reads: the insert runs only where neither.
        const std::string rodzaj = "[Usunieto] where [rodzaj]='" + std::string(u.rodzaj) + "'";
        if (Jest_Tabela(u.tabela, u.usuniety) && Liczba_Z_Zapytania("count(*) from " + rodzaj) <= 0)
            DbWykonajKonwersje(
                "insert into [Usunieto] "
                "([rodzaj],[nr_dokumentu],[id_dokumentu],[id_kontrahenta],[data_dokumentu],[data_"
                "usuniecia],[kto_usunol]) select '" +
                std::string(u.rodzaj) + "'," + u.usuniety + "," + u.id + ",konh_id," + u.data +
                ",#20-02-2001#,FAKOUT_WYST fROM " + u.tabela + " where " + warunek);
        // The documents go only once the log holds them.
        Sprawdz_Przeniesienie(u.tabela, "Usunieto", std::string(u.tabela) + " where " + warunek,
                              rodzaj);
        const bool ostatnia =
            i + 1 == std::size(kUsuwane) || std::string(kUsuwane[i + 1].tabela) != u.tabela;
        if (!ostatnia) continue;
        const std::string t = u.tabela;
        const std::string klucz = Klucz_Linii(t);
        DbWykonajKonwersje("delete " + t + "_zawart.* from " + t + " inner join " + t +
                           "_zawart on " + t + "." + klucz + "=" + t + "_zawart." + klucz +
                           " where " + bez_numeru);
        DbWykonajKonwersje("delete from " + t + " where " + bez_numeru);
    }

    for (const char* tabela : {"DOK_WEWNENTRZNE", "DOWODY_DOSTAW", "DOWODY_ZWROTU"})
        Usun_Pole(tabela, "DDOUT_DEL");
    Usun_Pole("FAKTURY", "FAKOUT_DEL");
    Usun_Pole("K_FAKTUR", "FKOROUT_DEL");
    Usun_Pole("PRODUKCJA", "DDOUT_DEL");
    Usun_Pole("Paragon", "DDOUT_DEL");
    Usun_Pole("ZAKUPY", "NUMER_DEL");

    std::string miesiac = "MIESIAC";
    Zmien_Typ_Pola("Miesiąc", "long", "NUMERY_OST_DOK", miesiac);
    std::string miejscowosc = "MIEJSCOWOSC";
    Zmien_Typ_Pola("MIEJSCOWOść", "text(30)", "KASYBANKI", miejscowosc);
}

void ClsKonwersje::Konwersja_245() {
    DbWykonajKonwersje("alter TABLE [Usunieto] ADD COLUMN inwentaryzacja logical");
    DbWykonajKonwersje("drop INDEX [indrap_id] ON [PRODUKCJA_ZAWART_SUROWCE]");
    Usun_Pole("PRODUKCJA_ZAWART_SUROWCE", "rap_id");
    DbWykonajKonwersje(
        "UPDATE [PRODUKCJA] SET [DDOUT_NUMER]=[DDOUT_ID] WHERE [DDOUT_NUMER]='' OR [DDOUT_NUMER] "
        "is null");
}

void ClsKonwersje::Konwersja_246() {
    DbWykonajKonwersje("alter TABLE [K_FAKTUR_ZAWART] ADD COLUMN [CENA_ORG] MONEY");
    DbWykonajUPDKonwersje(
        "[KP] set [KP].[id_kasy]=1 where [kp].[kb]='K' and ([KP].[id_kasy]=0 or [KP].[id_kasy] is "
        "null)",
        "", "", "");
    DbWykonajUPDKonwersje(
        "[KP] set [KP].[id_kasy]=2 where [kp].[kb]='B' and ([KP].[id_kasy]=0 or [KP].[id_kasy] is "
        "null)",
        "", "", "");
}

void ClsKonwersje::Konwersja_247() {
    DbWykonajKonwersje("drop table [zamowienia_ost]");
    DbWykonajKonwersje("Drop Table [Zamowienia_raport]");
}

void ClsKonwersje::Konwersja_248() {
    DbWykonajKonwersje("alter table [Raport_kasowy] ADD COLUMN [Closed] logical");
    DbWykonajKonwersje("alter table [kontrahenci] ADD COLUMN [id_kasy] long");
}

void ClsKonwersje::Konwersja_249() {
    // A line without a net price keeps the original price it holds.
    DbWykonajKonwersje(
        "UPDATE [K_FAKTUR_ZAWART] SET [CENA_ORG]=[ZFKOROUT_CENA_N] where zfkorout_tryb='p' and "
        "[ZFKOROUT_CENA_N] is not null");
    DbWykonajKonwersje(
        "UPDATE [K_FAKTUR_ZAWART] SET [zfkorout_ilosckor]=-[zfkorout_ilosckor] where "
        "zfkorout_ilosckor<0 and zfkorout_tryb='n'");
    DbWykonajKonwersje(
        "UPDATE [K_FAKTUR_ZAWART] SET [CENA_ORG]=0,[ZFKOROUT_ILOSC]=0 where zfkorout_tryb='n'");
    DbWykonajKonwersje("UPDATE [kontrahenci] SET [id_kasy]=0 where [id_kasy] is null");
}
