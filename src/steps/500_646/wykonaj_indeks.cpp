// The index executor with retries: a statement (as a rule a CREATE INDEX) run on a
// connection the caller names, again and again until it succeeds, so that an index that
// a moment's lock refuses is still made; a statement that keeps failing costs waits and
// questions, never the run, unless the rows cannot take the key. An index that exists already (a
// step run again over the work of a stopped run) cannot be made by any later attempt and is not
// tried again.
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/wykonawca.h"
#include "driver/konwersje.h"
#include "jet/error.h"

namespace {
// The command-type option of Execute for a statement text.
constexpr int kPolecenieTekstowe = 1;
}  // namespace

bool ClsKonwersje::dbpExecuteErrkONWERSJIA(std::unique_ptr<ado::Connection>& polaczenie,
                                           const std::string& polecenie) {
    try {
        if (!polaczenie)
            throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
        polaczenie->Execute(polecenie, nullptr, kPolecenieTekstowe);
        return true;
    } catch (const jet::Error& e) {
        // Rows that the key cannot take, or that rows written would repeat: no attempt mends
        // them, and the key is not given up; the rule of the key may fit them, and the
        // statement then runs again.
        const Wynik_Polecenia w = Wynik_Bledu(e);
        if ((Klucz_Nie_Utworzony(w, polecenie) || Klucz_Powtorzony(w, polecenie)) &&
            Rozstrzygnij_Pominiecie("dbpExecutekONWERSJIA", polecenie, w, {}, Ponowienie_Przez([&] {
                                        polaczenie->Execute(polecenie, nullptr, kPolecenieTekstowe);
                                    })))
            return true;
        Ostatni_Blad_Numer = e.signed_number();
        Ostatni_Blad_Opis = e.description();
        Ostatni_Blad_Jest_Juz =
            e.fault() == jet::Fault::IndexExists || e.fault() == jet::Fault::PrimaryKeyExists ||
            e.fault() == jet::Fault::TableExists || e.fault() == jet::Fault::FieldExists;
        return false;
    }
}

bool ClsKonwersje::dbpExecutekONWERSJIA(std::unique_ptr<ado::Connection>& polaczenie,
                                        const std::string& polecenie) {
    int32_t proby = 0;
    for (;;) {
        if (dbpExecuteErrkONWERSJIA(polaczenie, polecenie)) return true;
        // False at once, without a wait or a question: an object that is there already.
        if (Ostatni_Blad_Jest_Juz) return false;
        ++proby;
        CzekajKonwersje(1);
        // The first 500 failures are retried without a word; from then on each failure
        // asks whether to go on (an unattended run answers No).
        if (proby <= 500) continue;
        if (FMsg_box(
                "Wystąpił błąd podczas tworzenia index'ów:" + std::to_string(Ostatni_Blad_Numer) +
                    ";" + Ostatni_Blad_Opis + " Kontynuować ?",
                vbYesNo) == vbNo)
            return false;
    }
}
