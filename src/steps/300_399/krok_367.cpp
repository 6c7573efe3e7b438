// Step 3.67: delivery notes and returns get the id of the collective invoice that bills
// them (Zbiorczy_id). First every invoice's note list is followed; then the notes whose
// numbers the duplicate-number repair marked with a trailing "N" are paired with the
// invoices that still list the old number, by issue date and then by contractor.
#include <memory>
#include <string>
#include <vector>

#include "db/nz.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "steps/165_299/wspolne.h"

namespace {

using kroki::W_Apostrofach;

// One slot of the pairing: a document's id, contractor and issue date, and whether it
// has been paired already.
struct Miejsce {
    int32_t id = 0;
    int32_t konh_id = 0;
    double data = 0;
    bool zajete = false;
};

// A date field read as a serial; Null is the zero date.
double Data_Pola(const jet::Value& v) {
    return v.is_null() ? 0 : v.to_double();
}

// The number of characters (not bytes) of a UTF-8 text.
size_t Dlugosc(const std::string& tekst) {
    size_t n = 0;
    for (const unsigned char c : tekst)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// The text without blanks at either end.
std::string Bez_Spacji(const std::string& tekst) {
    const size_t od = tekst.find_first_not_of(' ');
    if (od == std::string::npos) return "";
    return tekst.substr(od, tekst.find_last_not_of(' ') - od + 1);
}

// The notes of one table of passes 2 to 5 and how they are paired.
struct Przebieg {
    const char* tabela;     // DOK_DD or DOK_DZ
    const char* znacznik;   // "«+»" or "«-»"
    const char* zapytanie;  // the notes visited (after "Select ")
    bool po_dacie;          // pairing by date, else by contractor
};

// The passes of the step over one database. A pass query whose failure was ignored
// leaves no recordset and counts as one without records.
class Laczenie {
  public:
    explicit Laczenie(ClsKonwersje& k) : k_(k) {}

    // Pass 1: every collective invoice, newest first, links the notes its list names.
    void Przebieg_List() {
        k_.DbOtwórzSELKonwersje(rs_,
                                "FAKOUT_NR_DD,b_rabat_n+b_rabat_v,FAKOUT_NUMER,b_rabat_n,b_rabat_v,"
                                "fakout_id  from DOK_FAK where FAKOUT_ZBIORCZA=-1 order by "
                                "FAKOUT_ID desc");
        while (rs_ && !rs_->Eof()) {
            Pokaz_Postep("", "", NzStr(rs_->Fields(2).value()));
            const jet::Value lista = rs_->Fields(0).value();
            if (!lista.is_null() && Dlugosc(Bez_Spacji(NzStr(lista))) > 6) {
                const int32_t fakout_id = NzLng(rs_->Fields(5).value());
                for (const kroki::Pozycja_Listy& p : kroki::Pozycje_Listy(lista)) {
                    const std::string tabela = p.zwrot ? "DOK_DZ" : "DOK_DD";
                    if (k_.DbOtwórzSELKonwersje(rs2_, "[zbiorczy_id] From " + tabela +
                                                          " WHERE DDOUT_numer='" +
                                                          W_Apostrofach(p.numer) + "'") > 0) {
                        rs2_->Fields(0) = jet::Value::long_(fakout_id);
                        rs2_->UpdateBatch();
                    }
                }
            }
            rs_->MoveNext();
        }
    }

    // Passes 2 to 5: the unlinked notes whose number ends in "N".
    void Przebieg_Numerow_N(const Przebieg& p) {
        k_.DbOtwórzSELKonwersje(rs_, p.zapytanie);
        while (rs_ && !rs_->Eof()) {
            const std::string numer = NzStr(rs_->Fields(2).value());
            Pokaz_Postep("", "", numer);
            if (!numer.empty() && numer.back() == 'N')
                Paruj_Note(p, numer, NzLng(rs_->Fields(0).value()));
            rs_->MoveNext();
        }
    }

    void Zamknij() {
        ZamknijRS(rs_);
        ZamknijRS(rs2_);
    }

  private:
    // Links the note id_noty of p.tabela to the invoice fakout_id. A slot that no invoice
    // filled (id 0) names none: the note keeps the link it has.
    void Polacz(const Przebieg& p, int32_t fakout_id, int32_t id_noty) {
        if (fakout_id == 0) return;
        k_.DbWykonajUPDKonwersje(std::string(p.tabela) +
                                     " set zbiorczy_id=" + std::to_string(fakout_id) +
                                     " where ddout_id=" + std::to_string(id_noty),
                                 "", "", "");
    }

    // One note numbered numer (ending in "N"): gathers the invoices that list its old
    // number and the notes that carry one of its forms, and pairs them.
    void Paruj_Note(const Przebieg& p, const std::string& numer, int32_t id_noty) {
        size_t k = 1;
        std::string bez_n = numer.substr(0, numer.size() - 1);
        std::string warianty = " or DDOUT_NUMER='" + W_Apostrofach(bez_n) + "' ";
        while (!bez_n.empty() && bez_n.back() == 'N') {
            ++k;
            bez_n.pop_back();
            warianty += " or DDOUT_NUMER='" + W_Apostrofach(bez_n) + "' ";
        }
        const std::string klucz = p.znacznik + bez_n;
        std::vector<Miejsce> faktury(k + 1);
        std::vector<Miejsce> noty(k + 1);

        if (k_.DbOtwórzSELKonwersje(rs2_,
                                    "FAKOUT_NR_DD,FAKOUT_NUMER,FAKOUT_id,konh_id,FAKOUT_DATA_WYST "
                                    "from DOK_FAK where FAKOUT_ZBIORCZA=-1  order by FAKOUT_ID "
                                    "desc") <= 0)
            return;
        size_t j = 0;
        while (j <= k && !rs2_->Eof()) {
            const jet::Value lista = rs2_->Fields(0).value();
            if (!lista.is_null() && NzStr(lista).find(klucz) != std::string::npos) {
                faktury[j].id = NzLng(rs2_->Fields(2).value());
                faktury[j].konh_id = NzLng(rs2_->Fields(3).value());
                faktury[j].data = Data_Pola(rs2_->Fields(4).value());
                ++j;
            }
            rs2_->MoveNext();
        }
        if (j <= 1) {
            Polacz(p, faktury[0].id, id_noty);
            return;
        }

        if (k_.DbOtwórzSELKonwersje(
                rs3_, std::string("zbiorczy_id,ddout_id,konh_id,DDOUT_DATA_WYST "
                                  "from ") +
                          p.tabela + " where DDOUT_NUMER='" + W_Apostrofach(numer) + "' " +
                          warianty + " and (DDOUT_DO_ROZLICZENIA)=0") <= 0)
            return;
        for (size_t i = 0; i <= k && !rs3_->Eof(); ++i) {
            noty[i].id = NzLng(rs3_->Fields(1).value());
            noty[i].konh_id = NzLng(rs3_->Fields(2).value());
            noty[i].data = Data_Pola(rs3_->Fields(3).value());
            rs3_->MoveNext();
        }
        ZamknijRS(rs3_);
        if (p.po_dacie)
            Paruj_Po_Dacie(p, faktury, noty);
        else
            Paruj_Po_Kontrahencie(p, faktury, noty);
    }

    // The latest free note goes to the one free invoice issued on or after its day;
    // stops when there is no such invoice or more than one.
    void Paruj_Po_Dacie(const Przebieg& p, std::vector<Miejsce>& faktury,
                        std::vector<Miejsce>& noty) {
        for (;;) {
            Miejsce* nota = nullptr;
            for (Miejsce& n : noty)
                if (!n.zajete && (nota == nullptr || n.data > nota->data)) nota = &n;
            if (nota == nullptr) return;
            Miejsce* faktura = nullptr;
            int ile = 0;
            bool wolna = false;
            for (Miejsce& f : faktury) {
                if (f.zajete) continue;
                wolna = true;
                if (f.data >= nota->data) {
                    ++ile;
                    faktura = &f;
                }
            }
            if (!wolna || ile != 1) return;
            nota->zajete = faktura->zajete = true;
            Polacz(p, faktura->id, nota->id);
        }
    }

    // Invoice slot b, from 0 up, goes to the one free note of its contractor; when its
    // contractor has none or several, the last free note (if only one is left) goes to
    // the highest free invoice slot.
    void Paruj_Po_Kontrahencie(const Przebieg& p, std::vector<Miejsce>& faktury,
                               std::vector<Miejsce>& noty) {
        for (size_t b = 0; b < faktury.size();) {
            int wolne = 0;
            Miejsce* ostatnia_wolna = nullptr;
            int zgodne = 0;
            Miejsce* zgodna = nullptr;
            for (Miejsce& n : noty) {
                if (n.zajete) continue;
                ++wolne;
                ostatnia_wolna = &n;
                if (n.konh_id == faktury[b].konh_id) {
                    ++zgodne;
                    zgodna = &n;
                }
            }
            if (wolne == 0) return;
            if (zgodne == 1) {
                zgodna->zajete = faktury[b].zajete = true;
                Polacz(p, faktury[b].id, zgodna->id);
                ++b;
                continue;
            }
            if (wolne == 1) {
                for (size_t f = faktury.size(); f-- > 0;) {
                    if (!faktury[f].zajete) {
                        Polacz(p, faktury[f].id, ostatnia_wolna->id);
                        break;
                    }
                }
            }
            return;
        }
    }

    ClsKonwersje& k_;
    std::unique_ptr<ado::Recordset> rs_;
    std::unique_ptr<ado::Recordset> rs2_;
    std::unique_ptr<ado::Recordset> rs3_;
};

constexpr Przebieg kPrzebiegi[] = {
    {"DOK_DD", "«+»",
     "DDOUT_ID, DDOUT_DATA_WYST,  DDOUT_NUMER,konh_id from DOK_DD WHERE "
     "(((DDOUT_DO_ROZLICZENIA)=0) AND ((Zbiorczy_id)=0  and KorFak=0) )",
     true},
    {"DOK_DD", "«+»",
     "DOK_DD.DDOUT_ID, DOK_DD.DDOUT_DATA_WYST,  DOK_DD.DDOUT_NUMER,konh_id from DOK_DD WHERE "
     "(((DOK_DD.DDOUT_DO_ROZLICZENIA)=0) AND ((DOK_DD.Zbiorczy_id)=0) )",
     false},
    {"DOK_DZ", "«-»",
     "DOK_DZ.DDOUT_ID, DOK_DZ.DDOUT_DATA_WYST,  DOK_DZ.DDOUT_NUMER,konh_id from DOK_DZ WHERE "
     "(((DOK_DZ.DDOUT_DO_ROZLICZENIA)=0) AND ((DOK_DZ.Zbiorczy_id)=0  and KorFak=0) )",
     true},
    {"DOK_DZ", "«-»",
     "DDOUT_ID, DDOUT_DATA_WYST,  DDOUT_NUMER,konh_id from DOK_DZ WHERE "
     "(((DDOUT_DO_ROZLICZENIA)=0) AND ((Zbiorczy_id)=0) and KorFak=0)",
     false},
};

}  // namespace

void ClsKonwersje::Konwersja_367() {
    Laczenie laczenie(*this);
    laczenie.Przebieg_List();
    for (const Przebieg& p : kPrzebiegi) laczenie.Przebieg_Numerow_N(p);
    laczenie.Zamknij();
}
