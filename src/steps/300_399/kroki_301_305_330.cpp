// Steps 3.01, 3.05 and 3.30 around collective invoices: the collective kind of the old
// VAT register folded into the invoice kind, delivery notes and returns listed on a
// collective invoice marked settled, and each collective invoice's amount of listed
// notes recomputed from its note list.
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "db/stan.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"

namespace {

using kroki::Rekordy;

// 1 January 2001, the first day that steps 3.05 and 3.30 look at.
double Poczatek_2001() {
    return *jet::dates::to_serial(2001, 1, 1);
}

// True when the note list lista names the note numer behind znacznik ("«+»" or "«-»"):
// the text znacznik & numer occurs in it. A Null list names nothing; a note without a
// number is never named (a bare marker would match every list).
bool Na_Liscie(const jet::Value& lista, const std::string& znacznik, const std::string& numer) {
    if (lista.is_null() || numer.empty()) return false;
    return NzStr(lista).find(znacznik + numer) != std::string::npos;
}

// Step 3.05 for one table of notes (DOK_DD with "«+»", DOK_DZ with "«-»"): every note
// still to be billed, issued in 2001 or later and not tied to a correction, that a
// collective invoice issued on or after its day lists, is marked billed. Logs the count
// under skrot.
void Rozlicz_Noty(ClsKonwersje& k, const std::string& tabela, const std::string& znacznik,
                  const std::string& porzadek, const std::string& skrot) {
    std::unique_ptr<ado::Recordset> noty;
    std::unique_ptr<ado::Recordset> faktury;
    int32_t licznik = 0;
    k.DbOtwórzSELKonwersje(noty,
                           "[DDOUT_DO_ROZLICZENIA],[Zbiorczy_id],[DDOUT_NUMER],[KorFak],[Id_"
                           "KorFak],DDOUT_DATA_WYST from " +
                               tabela + " where [DDOUT_DO_ROZLICZENIA]=-1 AND DDOUT_DATA_WYST>=" +
                               DataSQL_Od(Poczatek_2001()));
    while (!Rekordy(noty).Eof()) {
        const std::string numer = NzStr(noty->Fields("DDOUT_NUMER").value());
        Pokaz_Postep("", "", numer);
        if (kroki::Rowne(noty->Fields("KorFak").value(), 0)) {
            const double dzien = noty->Fields("DDOUT_DATA_WYST").value().to_double();
            if (k.DbOtwórzSELKonwersje(faktury,
                                       "FAKOUT_NR_DD,FAKOUT_NUMER from DOK_FAK where "
                                       "FAKOUT_ZBIORCZA=-1 and FAKOUT_DATA_WYST>=" +
                                           DataSQL_Od(dzien) + porzadek) > 0) {
                bool znaleziona = false;
                while (!znaleziona && !faktury->Eof()) {
                    znaleziona = Na_Liscie(faktury->Fields(0).value(), znacznik, numer);
                    faktury->MoveNext();
                }
                if (znaleziona) {
                    noty->Fields("DDOUT_DO_ROZLICZENIA") = jet::Value::boolean(false);
                    noty->UpdateBatch();
                    ++licznik;
                }
            }
        }
        noty->MoveNext();
    }
    Zapisz_Log_Kroku("Konwersja poprawiła " + std::to_string(licznik) + " " + skrot, Biezaca_Operacja,
               "");
    k.ZamknijRSKonwersje(noty);
    k.ZamknijRSKonwersje(faktury);
}

}  // namespace

void ClsKonwersje::Konwersja_301() {
    DbWykonajUPDKonwersje(
        "tabela_vat INNER JOIN TABELA_VAT AS tabela_vat_1 ON tabela_vat.id = tabela_vat_1.id SET "
        "tabela_vat.r_dok = 'sprzedaż_f_vat_U' WHERE "
        "(((tabela_vat.r_dok)='sprzedaż_f_vat_zbiorcze') AND "
        "((tabela_vat_1.r_dok)='sprzedaż_f_vat') AND "
        "((tabela_vat.Countt)<[tabela_vat_1].[Countt]))",
        "", "", "");
    DbWykonajUPDKonwersje(
        "tabela_vat INNER JOIN TABELA_VAT AS tabela_vat_1 ON tabela_vat.id = tabela_vat_1.id SET "
        "tabela_vat.r_dok = 'sprzedaż_f_vat_UU' WHERE (((tabela_vat.r_dok)='sprzedaż_f_vat') "
        "AND ((tabela_vat_1.r_dok)='sprzedaż_f_vat_zbiorcze') AND "
        "((tabela_vat.Countt)<[tabela_vat_1].[Countt]))",
        "", "", "");
    DbWykonajDELKonwersje(
        "tabela_vat where tabela_vat.r_dok = 'sprzedaż_f_vat_U' or tabela_vat.r_dok = "
        "'sprzedaż_f_vat_UU'",
        "");
    DbWykonajUPDKonwersje(
        "tabela_vat SET r_dok='sprzedaż_f_vat' WHERE r_dok='sprzedaż_f_vat_zbiorcze'", "", "", "");
}

void ClsKonwersje::Konwersja_305() {
    Rozlicz_Noty(*this, "DOK_DD", "«+»", " order by FAKOUT_ID", "DD");
    Rozlicz_Noty(*this, "DOK_DZ", "«-»", " order by FAKOUT_ID desc", "DZ");
}

void ClsKonwersje::Konwersja_330() {
    std::unique_ptr<ado::Recordset> faktury;
    std::unique_ptr<ado::Recordset> nota;
    int32_t licznik = 0;
    DbOtwórzSELKonwersje(faktury,
                         "FAKOUT_NR_DD,[wart_dd],[wart_kp],FAKOUT_WART_N+FAKOUT_WART_VAT,"
                         "FAKOUT_NUMER  from DOK_FAK where FAKOUT_ZBIORCZA=-1 and "
                         "FAKOUT_DATA_WYST>=" +
                             DataSQL_Od(Poczatek_2001()) + " order by FAKOUT_ID desc");
    while (!Rekordy(faktury).Eof()) {
        jet::Currency suma;
        for (const kroki::Pozycja_Listy& p : kroki::Pozycje_Listy(faktury->Fields(0).value())) {
            const std::string tabela = p.zwrot ? "DOK_DZ" : "DOK_DD";
            if (DbOtwórzSELKonwersje(nota, "[wart_kp] From " + tabela + " WHERE DDOUT_numer='" +
                                               kroki::W_Apostrofach(p.numer) + "'") > 0) {
                const jet::Currency kwota = NzCur(nota->Fields(0).value());
                suma.scaled += p.zwrot ? -kwota.scaled : kwota.scaled;
            }
        }
        const jet::Value wart_dd = faktury->Fields(1).value();
        if (!wart_dd.is_null() && wart_dd.to_currency() != suma) ++licznik;
        faktury->Fields(1) = jet::Value::currency(suma);
        faktury->MoveNext();
    }
    Zapisz_Log_Kroku("Konwersja 3.29 poprawiła " + std::to_string(licznik) + " Fzb", Biezaca_Operacja,
               "");
    ZamknijRSKonwersje(faktury);
    ZamknijRSKonwersje(nota);
}
