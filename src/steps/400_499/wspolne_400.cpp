// The helpers that the steps of 4.00 to 6.46 share to run again over what an earlier run of
// theirs left (see wspolne_400.h).
#include "steps/400_499/wspolne_400.h"

#include <string>

#include "driver/konwersje.h"

namespace kroki {

void Wstaw_Jesli_Brak(ClsKonwersje& k, const std::string& wiersz, const std::string& tekst) {
    if (k.Liczba_Z_Zapytania("count(*) from " + wiersz) > 0) return;
    k.DbWykonajIINKonwersje(tekst);
}

void Dodaj_Skladnik_Plac(ClsKonwersje& k, const std::string& tabela, const Skladnik_Plac& s) {
    const std::string pole = std::to_string(s.pole);
    Wstaw_Jesli_Brak(
        k, tabela + " where POLE=" + pole,
        tabela + " (POLE,OPIS,SKR) values (" + pole + ",'" + s.opis + "','" + s.skr + "')");
}

std::string Suma_SQL(const std::string& a, const std::string& b) {
    return "IIf(" + a + " Is Null And " + b + " Is Null,Null,Nz(" + a + ",0)+Nz(" + b + ",0))";
}

std::string Brutto_SQL(std::initializer_list<std::string> czesci) {
    return "round(" + Suma_Nz(czesci) + ",2)";
}

std::string Korekta_Bez_Zgodnego_VAT() {
    return Suma_Nz({"n22", "n7", "n3", "n0", "nzw", "n12"}) + "<>Nz(fkorout_wart_n,0) or " +
           Suma_Nz({"vat22", "vat7", "vat3", "vat12"}) + "<>Nz(fkorout_wart_vat,0)";
}

std::string Zaksiegowany(const Znacznik_Ksiegowania& z) {
    return z.tak_nie ? z.kolumna : z.kolumna + "<>0";
}

std::string Niezaksiegowany(const std::string& kolumna) {
    return "Nz(" + kolumna + ",0)=0";
}

std::string Zaksiegowany_Przez_Pozycje(const std::string& naglowek,
                                       std::initializer_list<Znacznik_Ksiegowania> pozycji) {
    std::string linia;
    for (const Znacznik_Ksiegowania& z : pozycji)
        linia += (linia.empty() ? "" : " or ") + Zaksiegowany(z);
    if (pozycji.size() > 1) linia = "(" + linia + ")";
    return linia + " and " + Niezaksiegowany(naglowek);
}

std::string Pierwsza_Linia_Zakupu(const std::string& warunek) {
    return " LEFT JOIN DOK_ZAK_ZAWART AS ZN ON (ZN.numer_id = DOK_ZAK_ZAWART.numer_id AND "
           "ZN.sur_ID = DOK_ZAK_ZAWART.sur_ID AND ZN.CENA_N = DOK_ZAK_ZAWART.CENA_N" +
           warunek + " AND ZN.Countt < DOK_ZAK_ZAWART.Countt)";
}

bool Sa_Kolumny(ClsKonwersje& k, const std::string& tabela,
                std::initializer_list<const char*> kolumny) {
    for (const char* kolumna : kolumny)
        if (!k.Jest_Tabela(tabela, kolumna)) return false;
    return true;
}

}  // namespace kroki
