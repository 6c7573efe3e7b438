// Step 4.80: indexes on the contractors' document-kind flags and the receipt marks; the
// ledger book gets an operation date and a number within its kind (running number,
// "/", the kind's symbol, "/", the year), and its column rodzajdok becomes the text
// column Numer_Wew.
#include <memory>
#include <string>

#include "db/konta.h"
#include "db/otworz.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/functions.h"
#include "steps/165_299/wspolne.h"

using jet::Value;
using kroki::Rekordy;

void ClsKonwersje::Konwersja_480() {
    for (const char* indeks : {"Act_Nal", "Act_Zob", "Act_Kas", "Act_Ban"})
        Utworz_Index(indeks, "Kontrahenci", indeks);
    for (const char* indeks : {"KasaFis", "Sklepowy"}) Utworz_Index(indeks, "DOK_PAR", indeks);

    DbWykonajKonwersje(
        "alter table [KH_KSIEGA] ADD COLUMN Data_operacji SmallDateTime DEFAULT null");
    Utworz_Index("Data_operacji", "KH_KSIEGA", "Data_operacji");
    DbWykonajKonwersje("update [KH_KSIEGA] set Data_operacji=Data_K where Data_operacji is null");
    DbWykonajKonwersje("alter table [KH_KSIEGA] ADD COLUMN Numer_W_KH Text (100)");
    Utworz_Index("Numer_W_KH", "KH_KSIEGA", "Numer_W_KH");
    // The entries of each kind 0 to 99 numbered from 1 over all years, by book date,
    // old kind text, number value and entry id. A run that stopped once the old kind text
    // had gone (it becomes Numer_Wew below) had numbered them all.
    std::unique_ptr<ado::Recordset> rs;
    const bool numeruj = Jest_Tabela("KH_KSIEGA", "rodzajdok");
    if (numeruj) DbWykonajKonwersje("update [KH_KSIEGA] set Numer_W_KH=''");
    for (int16_t rodzaj = 0; numeruj && rodzaj <= 99; ++rodzaj) {
        DbOtwórzSELKonwersje(
            rs, "Numer_W_KH,Data_k,rodzaj from KH_KSIEGA where rodzaj=" + std::to_string(rodzaj) +
                    " order by [KH_KSIEGA].[data_K] , [KH_KSIEGA].[rodzaj], "
                    "[KH_KSIEGA].[rODZAJdOK], val([KH_KSIEGA].[numer]), [KH_KSIEGA].[kpir_id]");
        Pokaz_Postep("", "", " " + std::to_string(rodzaj));
        const std::string symbol = Symbol_Dokumentu(rodzaj);
        int32_t i = 0;
        while (!Rekordy(rs).Eof()) {
            ++i;
            Pokaz_Postep("", "", symbol + " " + std::to_string(i));
            const Value rok = jet::fn::year(rs->Fields(1).value());
            rs->Fields(0) = jet::concat(Value::text(std::to_string(i) + "/" + symbol + "/"), rok);
            rs->UpdateBatch(ado::adAffectCurrent);
            rs->MoveNext();
        }
        ZamknijRS(rs);
    }

    std::string numer_wew = "Numer_Wew";
    Zmien_Typ_Pola("rodzajdok", "Text (50)", "KH_KSIEGA", numer_wew);
    Utworz_Index("Numer_Wew", "KH_KSIEGA", "Numer_Wew");
    DbWykonajKonwersje(
        "update [KH_KSIEGA] set Numer_Wew=numer where Numer_Wew is null or trim(Numer_Wew)=''");
    DbWykonajKonwersje(
        "update [KH_KSIEGA] set numer=Numer_Wew where numer is null or trim(numer)=''");
}
