// Step 3.66: rounding remainders of up to two hundredths between collective invoices
// and what was settled against them are taken out a hundredth at a time; price-list
// lines without a gross price get one from the net price by the product's VAT rate;
// employees get identity, bank and tax-office columns.
#include <string>
#include <utility>

#include "driver/konwersje.h"

namespace {

// The nudge of a collective purchase invoice's paid amount by a hundredth towards its
// gross total, where the remainder lies strictly between -granica and granica and
// has the sign of znak ('>' grows, '<' shrinks).
std::string Korekta_Zakupu(const char* granica, char znak) {
    const std::string r = "WART_N+VAT-wart_kp";
    return std::string("dok_zak set wart_kp=wart_kp") + (znak == '>' ? "+" : "-") +
           "0.01 where Zbiorcza=-1 and " + r + ">-" + granica + " and " + r + "<" + granica +
           " and wart_kp<>0 and " + r + znak + "0";
}

}  // namespace

void ClsKonwersje::Konwersja_366() {
    // An amount settled by cash documents not given counts as 0.
    const std::string reszta = "FAKOUT_WART_N+FAKOUT_WART_VAT-Nz(wart_kp,0)-wart_dd";
    const std::string sprzedaz = " where FAKOUT_ZBIORCZA=-1 and " + reszta + " >-0.03 and " +
                                 reszta + "<0.03 and wart_dd<>0 and " + reszta;
    const std::string sprzedaz_wiecej = "dok_fak set wart_dd=wart_dd+0.01" + sprzedaz + ">0";
    const std::string sprzedaz_mniej = "dok_fak set wart_dd=wart_dd-0.01" + sprzedaz + "<0";
    for (int i = 0; i < 2; ++i) {
        DbWykonajUPDKonwersje(sprzedaz_wiecej, "", "", "");
        DbWykonajUPDKonwersje(sprzedaz_mniej, "", "", "");
    }
    for (const char* granica : {"0.03", "0.02", "0.01"}) {
        DbWykonajUPDKonwersje(Korekta_Zakupu(granica, '>'), "", "", "");
        DbWykonajUPDKonwersje(Korekta_Zakupu(granica, '<'), "", "", "");
    }

    // Gross price from the net one by the product's rate code, for lines without one; a
    // line without a net price keeps what it has.
    for (const auto& [stawka, cena] : {std::pair{"22", "[CENNIKI_ZAWART].[CEN_Narzut]*1.22"},
                                       std::pair{"7", "[CENNIKI_ZAWART].[CEN_Narzut]*1.07"},
                                       std::pair{"3", "[CENNIKI_ZAWART].[CEN_Narzut]*1.03"},
                                       std::pair{"zw", "[CENNIKI_ZAWART].[CEN_Narzut]"},
                                       std::pair{"0", "[CENNIKI_ZAWART].[CEN_Narzut]"}})
        DbWykonajUPDKonwersje(
            std::string("[CENNIKI_ZAWART] inner join [produkty] on "
                        "[CENNIKI_ZAWART].[prod_id]=[produkty].[prod_id] set "
                        "[CENNIKI_ZAWART].[Cen_Brutto]=") +
                cena + " where STVAT_ID='" + stawka +
                "' and ([CENNIKI_ZAWART].[Cen_Brutto] is null or [CENNIKI_ZAWART].[Cen_Brutto]=0) "
                "and [CENNIKI_ZAWART].[CEN_Narzut] is not null",
            "", "", "");

    for (const char* kolumna :
         {" Dowod text(20)", " Paszport text(20)", " Obywatelstwo text(20)", " Bank text(30)",
          " Konto text(30)", " US long", " KartaStP byte", " KartaCzP byte"})
        DbWykonajKonwersje(std::string("alter table [KADRY_PRACOWNICY] ") + "ADD COLUMN" + kolumna);
    for (const char* wypelnienie :
         {"Update [KADRY_PRACOWNICY] set Dowod='' where Dowod is Null",
          "Update [KADRY_PRACOWNICY] set Paszport='' where Paszport is Null",
          "Update [KADRY_PRACOWNICY] set Obywatelstwo='' where Obywatelstwo is Null",
          "Update [KADRY_PRACOWNICY] set Bank='' where Bank is Null",
          "Update [KADRY_PRACOWNICY] set Konto='' where Konto is Null",
          "Update [KADRY_PRACOWNICY] set US=0 where US is Null",
          "Update [KADRY_PRACOWNICY] set KartaStP=0 where KartaStP is Null",
          "Update [KADRY_PRACOWNICY] set KartaCzP=0 where KartaCzP is Null"})
        DbWykonajKonwersje(wypelnienie);
}
