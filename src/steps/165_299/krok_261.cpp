// Step 2.61: every amount of the purchase VAT register rounded to two decimals, record
// by record, resuming after a record whose save the engine refuses part way.
#include <cstdint>
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// How many times in a row the walk may resume at the same record before that record
// is passed over: a save that fails every time would otherwise be retried for ever.
constexpr int kWznowienNaRekordzie = 3;

constexpr const char* kWarunekOd = " where countt>=";

}  // namespace

std::string ClsKonwersje::Zaokraglij_Rejestr_VAT(const std::string& warunek) {
    std::unique_ptr<ado::Recordset> rs;
    int32_t ostatni = 0;
    try {
        DbOtwórzSELKonwersje(
            rs, "n22,vat22,n7,vat7,vat3,n3,nzw,n0,r_dok,id,countt FROM tabela_vat " + warunek +
                    " order by countt ");
        while (!Rekordy(rs).Eof()) {
            Pokaz_Postep(
                "", "", "Dok:" + NzStr(rs->Fields(8).value()) + " " + NzStr(rs->Fields(9).value()));
            for (int i = 0; i <= 7; ++i)
                rs->Fields(i) = jet::Value::currency(NzCur(rs->Fields(i).value()));
            ostatni = rs->Fields(10).value().to_long();
            rs->UpdateBatch();
            rs->MoveNext();
        }
        ZamknijRSKonwersje(rs);
        return "";
    } catch (const jet::Error& e) {
        ZamknijRSKonwersje(rs);
        if (jet::environment_failure(e)) throw;
        if (e.number() == jet::hr::MultipleStep) return kWarunekOd + std::to_string(ostatni);
        return "";
    }
}

void ClsKonwersje::Konwersja_261() {
    std::string warunek;
    int wznowienia = 0;
    for (;;) {
        std::string dalej = Zaokraglij_Rejestr_VAT(warunek);
        if (dalej.empty()) break;
        if (dalej != warunek) {
            wznowienia = 0;
        } else if (++wznowienia >= kWznowienNaRekordzie) {
            // The record at which the walk stopped again keeps its amounts; the walk
            // goes on after it.
            const std::string countt = dalej.substr(std::string(kWarunekOd).size());
            Zapisz_Log_Kroku("Pominięty rekord rejestru VAT: countt=" + countt, "Konwersja_261", "");
            dalej = " where countt>" + countt;
            wznowienia = 0;
        }
        warunek = std::move(dalej);
    }
}
