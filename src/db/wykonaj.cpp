#include "db/wykonaj.h"

#include <charconv>
#include <utility>

#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/wykonawca.h"
#include "jet/error.h"

namespace {

using jet::hr::MissingParameter;

// An UPDATE naming a column that the table lacks cannot succeed on a retry.
constexpr Regula_Bledu kBrakKolumny[] = {
    {MissingParameter, "", ""},
    {0, "", "No value given for one or more required parameters."},
};

constexpr Zasady_Wykonawcy kDbWykonaj{.etykieta = "DbWykonaj", .tolerowane = kBledy_Schematu};
constexpr Zasady_Wykonawcy kDbWykonajUPD{
    .etykieta = "DbWykonajUPD", .ponowienia_utraty = 150, .konczace = kBrakKolumny};
constexpr Zasady_Wykonawcy kDbWykonajDEL{.etykieta = "DbWykonajDEL"};

}  // namespace

std::string result_text(const jet::Error& e) {
    return std::to_string(e.signed_number()) + "(" + e.description() + ")";
}

std::optional<jet::Error> failure_of_result_text(std::string_view text) {
    const size_t nawias = text.find('(');
    if (nawias == std::string_view::npos || !text.ends_with(')')) return std::nullopt;
    int32_t numer = 0;
    const auto [koniec, blad] = std::from_chars(text.data(), text.data() + nawias, numer);
    if (blad != std::errc{} || koniec != text.data() + nawias) return std::nullopt;
    return jet::Error(static_cast<uint32_t>(numer),
                      std::string(text.substr(nawias + 1, text.size() - nawias - 2)));
}

std::string DbWykonajSQL(std::string_view polecenie, int32_t& rekordy, bool cicho) {
    return Wykonaj_Raz(polecenie, rekordy, cicho, {}).tekst;
}

std::string Poszerz_Pola_Z_SQL(std::string_view polecenie, int32_t& rekordy) {
    return Poszerz_I_Powtorz(polecenie, rekordy).tekst;
}

std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu, int32_t& rekordy) {
    return DbWykonaj(polecenie, bez_bledu, rekordy, {});
}

std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu, int32_t& rekordy,
                      const Oczekiwany_Blad& oczekiwany) {
    std::string pol(polecenie);
    if (bez_bledu) {
        Wynik_Polecenia w = Wykonaj_Raz(pol, rekordy, false, {});
        if (w.tekst.empty()) return "";
        Zapisz_Log(pol, "DbWykonajNoError", "Error: " + w.tekst);
        // A locked file or a full disk is not the statement's expected failure: asked
        // about as without bez_bledu, so that a lost write never passes unnoticed.
        if (!Awaria_Srodowiska(w))
            return Rozstrzygnij_Pominiecie("DbWykonajNoError", pol, w, oczekiwany) ? "" : w.tekst;
        return Wykonaj_W_Petli_Po(std::move(w), pol, rekordy, false, kDbWykonaj, {}, oczekiwany)
            .tekst;
    }
    return Wykonaj_W_Petli(pol, rekordy, false, kDbWykonaj, {}, oczekiwany).tekst;
}

std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu) {
    int32_t rekordy = -1;
    return DbWykonaj(polecenie, bez_bledu, rekordy);
}

int32_t DbWykonajUPD(std::string_view polecenie, std::string_view tabela, std::string_view wartosci,
                     std::string_view warunek, std::string_view, bool cicho) {
    std::string pol;
    if (polecenie.empty()) {
        pol = "UPDATE " + std::string(tabela) + " set " + std::string(wartosci);
        if (!warunek.empty()) pol += " Where " + std::string(warunek);
    } else {
        pol = "UPDATE " + std::string(polecenie);
    }
    int32_t rekordy = -1;
    Wykonaj_W_Petli(pol, rekordy, cicho, kDbWykonajUPD);
    return rekordy;
}

int32_t DbWykonajDEL(std::string_view tabela_i_warunek, std::string_view co) {
    std::string pol = "DELETE " + std::string(co) + " FROM " + std::string(tabela_i_warunek);
    int32_t rekordy = -1;
    return Wykonaj_W_Petli(pol, rekordy, false, kDbWykonajDEL).tekst.empty() ? rekordy : -1;
}

std::string DbWykonajDAO(std::string_view polecenie, const std::shared_ptr<dao::Database>& baza) {
    try {
        if (!baza)
            throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
        baza->Execute(polecenie);
        return "";
    } catch (const jet::Error& e) {
        if (jet::environment_failure(e)) throw;
        return e.description();
    }
}

std::string lost_connection_text(const jet::Error& e) {
    return result_text(jet::Error(
               e.number(), "Zostało utracone połączenie z bazą lub jest ona zablokowana !")) +
           " " + e.description();
}
