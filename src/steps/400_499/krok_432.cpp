// Step 4.32: cash documents that other cash documents settle for more than they are
// worth. The settled totals and financial values are rebuilt, every settling line is
// capped at the value of the document it settles, and the lines that settle a document
// whose financial value still exceeds what is left of it are lowered cent by cent,
// largest first, until the excess is used up; then both totals are rebuilt again.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/400_499/wspolne_400.h"

namespace {

constexpr const char* kZerujRozl = "DOK_FIN set Wart_Rozl=0 ";
constexpr const char* kDodajDodatnie =
    "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
    "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+[Dok_fin_zawart].[kwota] where "
    "[Dok_fin_zawart].[kwota]>0";
constexpr const char* kDodajUjemne =
    "DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set "
    "DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]-[Dok_fin_zawart].[kwota] where "
    "[Dok_fin_zawart].[kwota]<0";
constexpr const char* kZerujFin = "UPDATE DOK_FIN  SET DOK_FIN.wart_fin = 0";
constexpr const char* kSumujFin =
    "UPDATE DOK_FIN INNER JOIN DOK_FIN_ZAWART ON DOK_FIN.kp_id = DOK_FIN_ZAWART.dok_id SET "
    "DOK_FIN.wart_fin = DOK_FIN.wart_fin+Nz(DOK_FIN_ZAWART.kwota,0) WHERE "
    "(DOK_FIN_ZAWART.rodzaj_dok='KW' OR DOK_FIN_ZAWART.rodzaj_dok='KP')";

void Przelicz_Rozl(ClsKonwersje& k) {
    k.DbWykonajUPDKonwersje(kZerujRozl, "", "", "");
    // Each settling line adds its amount once to its cash document.
    const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
    k.DbWykonajUPDKonwersje(kDodajDodatnie, "", "", "");
    k.DbWykonajUPDKonwersje(kDodajUjemne, "", "", "");
}

void Przelicz_Fin(ClsKonwersje& k) {
    k.DbWykonajKonwersje(kZerujFin);
    {
        // Each settling line adds its amount once to its cash document.
        const Zamierzony_Raport po_linii{jet::reports::Kind::MultiPair};
        k.DbWykonajKonwersje(kSumujFin);
    }
}

jet::Currency Roznica(jet::Currency a, jet::Currency b) {
    return jet::Currency::from_scaled(a.scaled - b.scaled);
}

}  // namespace

namespace kroki {

void Rozdziel_Nadwyzke(std::vector<jet::Currency>& a, jet::Currency nadwyzka) {
    constexpr int64_t kGrosz = 100;  // 0.01 in ten-thousandths
    const int rc = static_cast<int>(a.size());
    std::vector<int64_t> v(static_cast<size_t>(rc) + 2, 0);  // rows 0 and rc + 1 hold 0
    for (int i = 1; i <= rc; ++i) v[static_cast<size_t>(i)] = a[static_cast<size_t>(i - 1)].scaled;
    int64_t e = nadwyzka.scaled;
    const auto A = [&](int i) -> int64_t& { return v[static_cast<size_t>(i)]; };
    while (e > 0) {
        bool wzieto = false;
        for (int i = 1; i <= rc && e > 0;) {
            if (i < rc && A(i) > A(i + 1)) {
                while (e > 0 && A(i) > A(i + 1)) {
                    e -= kGrosz;
                    A(i) -= kGrosz;
                    wzieto = true;
                }
                ++i;
            } else if ((A(i) > 0 && A(i) == A(i + 1)) || (A(i) > 0 && i > 1 && A(i) > A(i - 1)) ||
                       rc == 1) {
                e -= kGrosz;
                A(i) -= kGrosz;
                wzieto = true;
                break;  // a new pass from the top
            } else {
                ++i;
            }
        }
        // Lines that have all come down to 0 while excess remains (the document's settled
        // total exceeds its value) give nothing more: a pass that takes nothing ends the
        // allocation instead of repeating for ever.
        if (!wzieto) break;
    }
    for (int i = 1; i <= rc; ++i) a[static_cast<size_t>(i - 1)].scaled = A(i);
}

std::string Kwota_SQL(jet::Currency c) {
    std::string t = jet::currency_text(c);
    for (char& z : t)
        if (z == ',') z = '.';
    return t;
}

}  // namespace kroki

void ClsKonwersje::Konwersja_432() {
    // Stage 1: totals rebuilt, both amount parts rounded to 2 decimals.
    Przelicz_Rozl(*this);
    DbWykonajUPDKonwersje("DOK_FIN set [kwota]=Format(kwota,'0.00') ", "", "", "");
    DbWykonajUPDKonwersje("DOK_FIN set [kwota_kw]=Format(kwota_kw,'0.00') ", "", "", "");
    Przelicz_Fin(*this);

    // Stage 2: a line that settles more than the settled document is worth is capped.
    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(
        rs,
        "DOK_FIN.kp_id,DOK_FIN_ZAWART.kp_id,DOK_FIN.kwota,DOK_FIN.kwota_kw,DOK_FIN_ZAWART.kwota "
        "from DOK_FIN INNER JOIN DOK_FIN_ZAWART ON DOK_FIN.kp_id = "
        "DOK_FIN_ZAWART.dok_id where  "
        "Nz(DOK_FIN.kwota,0)+Nz(DOK_FIN.kwota_kw,0)<DOK_FIN_ZAWART.kwota and "
        "(DOK_FIN_ZAWART.rodzaj_dok='KW' OR DOK_FIN_ZAWART.rodzaj_dok='KP')");
    if (rs) {
        while (!rs->Eof()) {
            const std::string o = NzStr(rs->Fields(1).value());
            const jet::Currency wartosc = jet::Currency::from_scaled(
                NzCur(rs->Fields(2).value()).scaled + NzCur(rs->Fields(3).value()).scaled);
            const jet::Currency l = rs->Fields(4).value().to_currency();
            // The line itself, written through the recordset (the line counter is not
            // unique before 4.62: a line of another document may hold the same one); another
            // line of the same two documents that does not exceed the value keeps its amount.
            rs->Fields(4) = jet::Value::currency(wartosc);
            // A line that names no cash document of its own lowers no settled total.
            if (!o.empty())
                DbWykonajKonwersje("UPDATE DOK_FIN SET DOK_FIN.Wart_Rozl=DOK_FIN.Wart_Rozl-" +
                                   kroki::Kwota_SQL(Roznica(l, wartosc)) +
                                   " WHERE DOK_FIN.KP_ID=" + o);
            rs->MoveNext();
        }
    }
    ZamknijRSKonwersje(rs);

    // Stage 3: financial values from the capped lines.
    Przelicz_Fin(*this);

    // Stage 4: the excess of each document spread over the lines that settle it, the
    // largest first; of two lines of one amount, the one entered first.
    std::unique_ptr<ado::Recordset> lin;
    DbOtwórzSELKonwersje(
        rs,
        "DOK_FIN.kp_id,DOK_FIN.wart_fin,DOK_FIN.kwota,DOK_FIN.kwota_kw,Wart_Rozl from DOK_FIN "
        "where DOK_FIN.wart_fin > Nz(DOK_FIN.kwota_kw,0)+Nz(DOK_FIN.kwota,0)-Nz(Wart_Rozl,0) and "
        "DOK_FIN.wart_fin>0",
        true);
    if (rs) {
        while (!rs->Eof()) {
            const std::string s = NzStr(rs->Fields(0).value());
            Pokaz_Postep("", "", s);
            const jet::Currency e = jet::Currency::from_scaled(
                NzCur(rs->Fields(1).value()).scaled - NzCur(rs->Fields(2).value()).scaled -
                NzCur(rs->Fields(3).value()).scaled + NzCur(rs->Fields(4).value()).scaled);
            DbOtwórzSELKonwersje(
                lin,
                "DOK_FIN_ZAWART.COUNTT,DOK_FIN_ZAWART.kp_id,DOK_FIN_ZAWART.kwota from "
                "DOK_FIN_ZAWART where (DOK_FIN_ZAWART.rodzaj_dok='KW' OR "
                "DOK_FIN_ZAWART.rodzaj_dok='KP') and DOK_FIN_ZAWART.kwota Is Not Null and "
                "DOK_FIN_ZAWART.dok_id=" +
                    s + " order by DOK_FIN_ZAWART.kwota desc,DOK_FIN_ZAWART.COUNTT",
                true);
            std::vector<jet::Currency> przed;
            std::vector<std::string> wlasciciel;
            if (lin) {
                for (; !lin->Eof(); lin->MoveNext()) {
                    wlasciciel.push_back(NzStr(lin->Fields(1).value()));
                    przed.push_back(lin->Fields(2).value().to_currency());
                }
            }
            std::vector<jet::Currency> po = przed;
            kroki::Rozdziel_Nadwyzke(po, e);
            // Each line is written through the recordset, as its counter may name a line of
            // another document too until 4.62 makes it unique.
            if (lin && !po.empty()) lin->MoveFirst();
            for (size_t i = 0; i < po.size(); ++i) {
                if (po[i].scaled != przed[i].scaled) lin->Fields(2) = jet::Value::currency(po[i]);
                lin->MoveNext();
                if (!wlasciciel[i].empty())
                    DbWykonajKonwersje("UPDATE DOK_FIN SET DOK_FIN.Wart_Rozl=DOK_FIN.Wart_Rozl-" +
                                       kroki::Kwota_SQL(Roznica(przed[i], po[i])) +
                                       " WHERE DOK_FIN.KP_ID=" + wlasciciel[i]);
            }
            rs->MoveNext();
        }
    }
    ZamknijRSKonwersje(lin);
    ZamknijRSKonwersje(rs);

    // Stage 5: both totals rebuilt from the lines.
    Przelicz_Fin(*this);
    Przelicz_Rozl(*this);
}
