#include "db/otworz.h"

#include <algorithm>
#include <cctype>

#include "db/komunikaty.h"
#include "db/naprawy.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "db/wykonawca.h"
#include "jet/error.h"
#include "platform/clipboard.h"
#include "platform/wait.h"

namespace {

// A row deleted by another workstation while the open read it: the open is repeated up
// to this many times, this many seconds apart.
constexpr int kProbyUsunietegoRekordu = 100;
constexpr double kPrzerwaUsunietegoRekordu = 0.1;
constexpr std::string_view kRekordUsuniety = "Rekord jest usunięty.";

}  // namespace

std::string Polecenie_Select(std::string_view tekst) {
    constexpr std::string_view kSelect = "select";
    const bool caly = tekst.size() > kSelect.size() &&
                      std::isspace(static_cast<unsigned char>(tekst[kSelect.size()])) &&
                      std::equal(kSelect.begin(), kSelect.end(), tekst.begin(), [](char a, char b) {
                          return a == std::tolower(static_cast<unsigned char>(b));
                      });
    return caly ? std::string(tekst) : "Select " + std::string(tekst);
}

int32_t DbOtwórzSEL(std::unique_ptr<ado::Recordset>& rs, std::string_view tekst, int32_t tryb,
                    std::string_view, int16_t cichy) {
    const std::string polecenie = Polecenie_Select(tekst);
    for (;;) {
        ZamknijRS(rs);
        rs = std::make_unique<ado::Recordset>();
        rs->CursorLocation = ado::adUseServer;
        std::string r = DbOtwórzRS(rs, polecenie, tryb);
        if (r.empty()) r = Policz_Rekordy(rs);
        if (r.empty()) return rs->RecordCount();
        if (cichy && !Awaria_Srodowiska(r)) return -1;
        rs.reset();
        platform::set_clipboard(polecenie);
        Zapisz_Log(polecenie, "DbOtwórzSEL", r);
        const int32_t odp = FMsg_box(r + "\r\n" + std::string(tekst), vbAbortRetryIgnore,
                                     "Uwaga wystąpił błąd w " + Biezaca_Operacja);
        if (odp == vbAbort) Wylogowanie();
        if (odp != vbRetry) return -1;
    }
}

std::string DbOtwórzRS(std::unique_ptr<ado::Recordset>& rs, std::string_view polecenie,
                       int32_t tryb) {
    int kursor = ado::adOpenStatic;
    int blokada = ado::adLockReadOnly;
    if (tryb == kOtworzEdycja) {
        blokada = ado::adLockOptimistic;
    } else if (tryb == kOtworzKeyset) {
        kursor = ado::adOpenKeyset;
        blokada = ado::adLockOptimistic;
    }
    try {
        if (!Baza_Otwarta) DbPolacz_Ponownie();
        polaczenie().CursorLocation = ado::adUseServer;
        if (!rs) rs = std::make_unique<ado::Recordset>();
        rs->CacheSize = 999;
        rs->Open(polecenie, polaczenie(), kursor, blokada, -1);
        return "";
    } catch (const jet::Error& e) {
        if (e.number() == jet::hr::TypeMismatch) {
            FMsg_box("Nastąpi porządkowanie bazy !", vbOKOnly, "");
            Porzadkuj_Baze(polaczenie().Properties(7), 0, -1, "");
            FMsg_box("Operacja zakończona", vbOKOnly, "");
            return DbOtwórzRS_Ponownie(rs, polecenie, kursor, blokada);
        }
        if (e.number() == jet::hr::Unspecified) {
            const std::string usuniety =
                result_text(jet::Error(jet::hr::Unspecified, std::string(kRekordUsuniety)));
            std::string r = DbOtwórzRS_Ponownie(rs, polecenie, kursor, blokada);
            for (int i = 1; i < kProbyUsunietegoRekordu && r == usuniety; ++i) {
                platform::wait_seconds(kPrzerwaUsunietegoRekordu);
                r = DbOtwórzRS_Ponownie(rs, polecenie, kursor, blokada);
            }
            return r;
        }
        return result_text(e);
    }
}

std::string Policz_Rekordy(const std::unique_ptr<ado::Recordset>& rs) {
    try {
        rs->RecordCount();
        return "";
    } catch (const jet::Error& e) {
        return result_text(e);
    }
}

std::string DbOtwórzRS_Ponownie(std::unique_ptr<ado::Recordset>& rs, std::string_view polecenie,
                                int typ_kursora, int typ_blokady) {
    try {
        polaczenie().CursorLocation = ado::adUseServer;
        if (!rs) rs = std::make_unique<ado::Recordset>();
        rs->Open(polecenie, polaczenie(), typ_kursora, typ_blokady, -1);
        rs->CacheSize = 1;
        return "";
    } catch (const jet::Error& e) {
        return result_text(e);
    }
}

void ZamknijRS(std::unique_ptr<ado::Recordset>& rs) {
    if (rs) {
        try {
            if (rs->State() != ado::adStateClosed) rs->Close();
        } catch (const jet::Error&) {
        }
    }
    rs.reset();
}
