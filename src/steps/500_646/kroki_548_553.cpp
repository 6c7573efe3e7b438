// Steps 5.48 to 5.53: the price-list lines rebuilt through a copy without rows of no id,
// fixed-asset counts on purchase lines, net values and VAT codes of purchase-correction
// lines, the table of opening-balance documents, and stock prices on document lines.
#include <array>
#include <memory>
#include <string>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"
#include "steps/400_499/wspolne_400.h"

namespace {

// The statement that makes one index of the old price-list lines on the copy: only the
// name, the Primary and Unique flags and the order of the fields are carried over.
std::string Indeks_Kopii(const dao::Index& ind) {
    std::string pola;
    for (const std::string& p : ind.Fields) pola += (pola.empty() ? "" : ",") + p;
    return std::string(ind.Primary || ind.Unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
           ind.Name + " " + "ON [" + "CENNIKI_ZAWART_1" + "] (" + pola + ")" +
           (ind.Primary ? "WITH PRIMARY" : "");
}

// The line tables whose stock price starts at 0, in order.
constexpr std::array<const char*, 10> kZawartCenaMag = {
    "DOK_FAK_zawart", "DOK_DD_zawart", "DOK_DAR_zawart", "DOK_FWE_zawart", "DOK_PAR_zawart",
    "DOK_PW_zawart",  "DOK_RW_zawart", "DOK_WZ_zawart",  "DOK_PZ_zawart",  "DOK_ZAK_zawart"};

void Cena_Magazynowa(ClsKonwersje& k, const std::string& tabela) {
    k.Dodaj_Pole(tabela, "CenaMag money DEFAULT 0");
    k.DbWykonajKonwersje("update " + tabela + " set CenaMag=0");
}

// The join of a purchase correction's lines with the corrected purchase's lines.
constexpr const char* kKorektaZakupu =
    "(DOK_KZA INNER JOIN DOK_KZA_ZAWART ON DOK_KZA.FKOROUT_ID = DOK_KZA_ZAWART.FKOROUT_ID) "
    "INNER JOIN (DOK_ZAK INNER JOIN DOK_ZAK_ZAWART ON DOK_ZAK.numer_id = DOK_ZAK_ZAWART.numer_id) "
    "ON (DOK_KZA_ZAWART.PROD_ID = DOK_ZAK_ZAWART.sur_ID) AND (DOK_KZA.FAKOUT_ID = "
    "DOK_ZAK.numer_id)";

}  // namespace

void ClsKonwersje::Konwersja_548() {
    // A copy that a stopped run left while the old table stands gives way to a fresh one:
    // the old table is the truth. Once the old table is dropped, the copy holds the only
    // rows left: it is kept as it is, with the indexes already made on it, and the
    // make-table, which would read the dropped table, is not run again. Without the old
    // table the walk below makes no index and the drop finds nothing to drop, so only the
    // rename is left.
    const std::string wiersze = "CENNIKI_ZAWART WHERE [id] is not null";
    Usun_Pozostala_Kopie("CENNIKI_ZAWART", "CENNIKI_ZAWART_1", wiersze);
    if (!Jest_Tabela("CENNIKI_ZAWART_1"))
        DbWykonajKonwersje(
            "SELECT * INTO CENNIKI_ZAWART_1 FROM CENNIKI_ZAWART WHERE [id] is not null");
    kroki::Z_Baza_DAO(
        *this,
        [this](dao::Database& baza) {
            const int n = baza.TableDefCount();
            for (int i = 0; i < n; ++i) {
                dao::TableDef td = baza.TableDefs(i);
                Pokaz_Postep("", "", td.Name() + " " + std::to_string(td.FieldCount()));
                if (td.Name() != "CENNIKI_ZAWART") continue;
                for (const dao::Index& ind : td.Indexes()) {
                    if (jet::text::upper(ind.Name) == "DOCZYTOWHAN") continue;
                    // The result is not looked at: an index that the user gave up on is
                    // left out and the next one follows.
                    dbpExecutekONWERSJIA(DbPolaczenie, Indeks_Kopii(ind));
                    CzekajKonwersje(2);
                }
                break;
            }
        },
        0);
    Sprawdz_Kopie("CENNIKI_ZAWART", "CENNIKI_ZAWART_1", wiersze);
    DbWykonajKonwersje(" Drop Table CENNIKI_ZAWART");
    CzekajKonwersje(3);
    Zmien_Nazwe_Tabeli("CENNIKI_ZAWART_1", "CENNIKI_ZAWART");
}

void ClsKonwersje::Konwersja_549() {
    Dodaj_Pole("DOK_INN", "WART_finWYD money DEFAULT 0");
    Utworz_Index("wart_finWyd", "DOK_INN", "wart_finWyd");
    DbWykonajUPD("DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = 0", "", "", "");
    // Each asset line of the purchase line's product adds its part: the sum is meant.
    const Zamierzony_Raport z{jet::reports::Kind::MultiPair};
    DbWykonajUPD(
        "(SRODKI_TRWALE_ZAWART inner join SRODKI_TRWALE on "
        "SRODKI_TRWALE_ZAWART.id=SRODKI_TRWALE.id "
        ")INNER JOIN DOK_ZAK_ZAWART ON SRODKI_TRWALE_ZAWART.id_dok = DOK_ZAK_ZAWART.numer_id SET "
        "DOK_ZAK_ZAWART.WtymST = [DOK_ZAK_ZAWART].[WtymST]+IIf(CalyAsortyment = -1, "
        "Nz(DOK_ZAK_ZAWART.ilosc_mag,0), 1) WHERE "
        "DOK_ZAK_ZAWART.sur_ID=[SRODKI_TRWALE_ZAWART].[id_prod] "
        "and SRODKI_TRWALE.Wyposazenie=0",
        "", "", "");
    DbWykonajUPD("DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = 0 where DOK_ZAK_ZAWART.WtymST <0", "",
                 "", "");
}

void ClsKonwersje::Konwersja_550() {
    Dodaj_Pole("DOK_KZA_ZAWART", "WART_N money DEFAULT 0");
    // A price or quantity not given counts as 0; a line given none of them keeps its
    // value empty.
    DbWykonajKonwersje(
        "UPDATE DOK_KZA_ZAWART set WART_N=format((Nz(ZFKOROUT_CENA_N,0)*Nz(zfkorout_ilosckor,0))-"
        "(Nz(CENA_ORG,0)*Nz(ZFKOROUT_ILOSC,0)),'0.00') where ZFKOROUT_CENA_N is not null or "
        "zfkorout_ilosckor is not null or CENA_ORG is not null or ZFKOROUT_ILOSC is not null");
    Dodaj_Pole("DOK_KZA_ZAWART", "WART_N_ORG money DEFAULT 0");
    DbWykonajKonwersje(
        "UPDATE DOK_KZA_ZAWART set DOK_KZA_ZAWART.WART_N_ORG=format((Nz(CENA_ORG,0)*"
        "Nz(ZFKOROUT_ILOSC,0)),'0.00') where CENA_ORG is not null or ZFKOROUT_ILOSC is not null");
    // Of two purchase lines of the product at the price, the first (the lowest Countt).
    DbWykonajKonwersje(std::string("UPDATE  (") + kKorektaZakupu + ")" +
                       kroki::Pierwsza_Linia_Zakupu(" AND ZN.WART_N is not null") +
                       " set DOK_KZA_ZAWART.WART_N_ORG=DOK_ZAK_ZAWART.WART_N where "
                       "DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N and DOK_ZAK_ZAWART.WART_N "
                       "is not null and ZN.Countt is null");
    Dodaj_Pole("DOK_KZA_ZAWART", "VAT_ORG Text (4)");
    DbWykonajKonwersje(
        "UPDATE DOK_KZA_ZAWART set DOK_KZA_ZAWART.VAT_ORG=DOK_KZA_ZAWART.ZFKOROUT_VAT");
    DbWykonajKonwersje(
        std::string("UPDATE  (") + kKorektaZakupu + ")" + kroki::Pierwsza_Linia_Zakupu() +
        " set "
        "DOK_KZA_ZAWART.VAT_ORG=DOK_ZAK_ZAWART.VAT,DOK_KZA_ZAWART.OdliczVAT_Z=" +
        kroki::Kopia_Bez_Nulla("DOK_KZA_ZAWART.OdliczVAT_Z", "DOK_ZAK_ZAWART.OdliczVAT_Z") +
        " where DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N and ZN.Countt is null");
}

void ClsKonwersje::Konwersja_551() {
    DbWykonajKonwersje(
        "create Table DOK_BO (IDD int identity,DOK_ID int DEFAULT 0,Data SmallDateTime DEFAULT "
        "null,Termin SmallDateTime DEFAULT null,FormaPl Text (1) default '',Numer Text (50) "
        "default '',Rodzaj  Text (50) default '',Opis Text (255) default ' ',Wart_kp money "
        "DEFAULT 0,Wart_fin money DEFAULT 0,konh_id int DEFAULT 0,WART_finWYD money DEFAULT "
        "0,WART_DOK money DEFAULT 0,ROK int DEFAULT 0)");
    Utworz_Klucz_Podstawowy("DOK_BO", "idd");
    for (const char* kol : {"Numer", "Data", "Termin", "FormaPl", "Wart_kp", "Wart_fin",
                            "wart_finWyd", "WART_DOK", "ROK", "DOK_ID"})
        Utworz_Index(kol, "DOK_BO", kol);
}

void ClsKonwersje::Konwersja_552() {
    for (const char* t : kZawartCenaMag) Cena_Magazynowa(*this, t);
    for (const char* t : {"DOK_KFA_zawart", "DOK_KZA_zawart"}) {
        Dodaj_Pole(t, "CenaMag_ORG money DEFAULT 0");
        Dodaj_Pole(t, "CenaMag money DEFAULT 0");
        DbWykonajKonwersje(std::string("update ") + t + " set CenaMag_ORG=0,CenaMag=0");
    }
    Dodaj_Pole("S_RODZAJ_MWP", "MP Logical");
    Dodaj_Pole("S_RODZAJ_MWP", "MW Logical");
    DbWykonajKonwersje("update S_RODZAJ_MWP set MP=-1 where id_mwp<>0");
    DbWykonajKonwersje("update S_RODZAJ_MWP set MW=-1 where id_mwp<>0");
    DbWykonajKonwersje(
        "update DOK_ZAK_ZAWART set CenaMag=round(WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0 and "
        "WART_N is not null");
    DbWykonajKonwersje(
        "update DOK_PZ_ZAWART set CenaMag=round(ZDDOUT_WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0 and "
        "ZDDOUT_WART_N is not null");
    DbWykonajKonwersje(
        "update DOK_WZ_ZAWART set CenaMag=round(ZDDOUT_WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0 and "
        "ZDDOUT_WART_N is not null");
    // Of two purchase lines of the product at the price, the first (the lowest Countt).
    DbWykonajUPD(
        "",
        "((DOK_KZA INNER JOIN DOK_KZA_ZAWART ON DOK_KZA.FKOROUT_ID = "
        "DOK_KZA_ZAWART.FKOROUT_ID) INNER JOIN DOK_ZAK_ZAWART ON (DOK_KZA.FAKOUT_ID = "
        "DOK_ZAK_ZAWART.numer_id) and (DOK_KZA_ZAWART.PROD_ID = DOK_ZAK_ZAWART.sur_ID)) " +
            kroki::Pierwsza_Linia_Zakupu(),
        "DOK_KZA_ZAWART.OdliczVAT_Z=" +
            kroki::Kopia_Bez_Nulla("DOK_KZA_ZAWART.OdliczVAT_Z", "DOK_ZAK_ZAWART.OdliczVAT_Z") +
            ",DOK_KZA_ZAWART.koszt_sz_Z=" +
            kroki::Kopia_Bez_Nulla("DOK_KZA_ZAWART.koszt_sz_Z", "DOK_ZAK_ZAWART.koszt_sz_Z") +
            ",DOK_KZA_ZAWART.CENAmag_ORG=DOK_ZAK_ZAWART.cenaMAg,"
            "DOK_KZA_ZAWART.CENAmag=DOK_ZAK_ZAWART.cenaMAg",
        "DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N and ZN.Countt is null");
}

void ClsKonwersje::Konwersja_553() {
    Cena_Magazynowa(*this, "DOK_DZ_zawart");
}
