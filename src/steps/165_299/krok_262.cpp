// Step 2.62: document numbers of 2001 that still carry the year suffix "/2000" get
// "/2001"; the order link and a change counter on seven document tables, two Setup
// columns, a flag on the numbering schemes and the printer table.
#include <array>
#include <memory>
#include <string>

#include "db/daty.h"
#include "db/nz.h"
#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// A document kind of the number correction: table, number column, date column and the
// extra condition. Rows repeating the table before them pass over it a second time.
struct Rodzaj {
    const char* tabela;
    const char* numer;
    const char* data;
    const char* warunek;
};

constexpr std::array<Rodzaj, 11> kRodzaje = {{
    {"K_FAKTUR", "fkorout_numer", "fkorout_data_wyst", " AND [zakup] =0 "},
    {"K_FAKTUR", "fkorout_NUMER", "fkorout_data_wyst", " AND [zakup] =-1 "},
    {"FAKTURY", "fakout_NUMER", "fakout_data_wyst", ""},
    {"FAKTURY", "fakout_NUMER", "fakout_data_wyst", ""},
    {"Paragon", "ddout_NUMER", "ddout_data_wyst", ""},
    {"DOWODY_DOSTAW", "ddout_NUMER", "ddout_data_wyst", ""},
    {"DOWODY_DOSTAW", "ddout_NUMER", "ddout_data_wyst", ""},
    {"DOWODY_ZWROTU", "ddout_NUMER", "ddout_data_wyst", ""},
    {"DOWODY_ZWROTU", "ddout_NUMER", "ddout_data_wyst", ""},
    {"Dok_Wewnentrzne", "ddout_NUMER", "ddout_data_wyst", " and [rodzdok]='R'"},
    {"Dok_Wewnentrzne", "ddout_NUMER", "ddout_data_wyst", " and [rodzdok]='P'"},
}};

// The seven document tables that get the order link and the change counter.
constexpr std::array<const char*, 7> kDokumenty = {
    "DOWODY_ZWROTU", "DOWODY_DOSTAW",   "K_FAKTUR", "FAKTURY",
    "PARAGON",       "Dok_Wewnentrzne", "Produkcja"};

constexpr std::string_view kStary = "/2000";
constexpr std::string_view kNowy = "/2001";

// The first "/2000" of tekst (exact comparison) replaced by "/2001"; false when there is
// none.
bool Popraw_Rok(std::string& tekst) {
    const size_t p = tekst.find(kStary);
    if (p == std::string::npos) return false;
    tekst.replace(p, kStary.size(), kNowy);
    return true;
}

// The whole year 2001 on the date column pole.
std::string Rok_2001(const std::string& pole) {
    return Warunek_Okres(*jet::dates::to_serial(2001, 1, 1), pole,
                         *jet::dates::to_serial(2001, 12, 31));
}

// Opens tekst (the date in field 0, a number text in field 1) and, record by record,
// shows the document on status line 3 and writes back a number whose first "/2000"
// became "/2001". A Null number is read as "" and has nothing to correct.
void Popraw_Numery(ClsKonwersje& k, const std::string& tekst, const char* tabela) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, tekst);
    while (!Rekordy(rs).Eof()) {
        std::string numer = NzStr(rs->Fields(1).value());
        Pokaz_Postep(
            "", "",
            std::string("Dok:") + tabela + " " + NzStr(rs->Fields(0).value()) + " " + numer);
        if (Popraw_Rok(numer)) {
            rs->Fields(1) = jet::Value::text(numer);
            rs->UpdateBatch();
        }
        rs->MoveNext();
    }
    k.ZamknijRSKonwersje(rs);
}

}  // namespace

void ClsKonwersje::Konwersja_262() {
    // Read through the class reader, which answers at this version, so that the flag
    // that later numbering reads is the database's own.
    Numeracja_Miesieczna = Czytaj_SetupKonwersje("roczna") == "0";

    for (const Rodzaj& r : kRodzaje)
        Popraw_Numery(*this,
                      std::string(r.data) + "," + r.numer + " FROM " + r.tabela + " where " +
                          Rok_2001(r.data) + " " + r.warunek,
                      r.tabela);
    // The delivery notes that collective invoices list.
    Popraw_Numery(*this,
                  "FAKOUT_DATA_WYST,FAKOUT_NR_DD FROM FAKTURY where FAKOUT_ZBIORCZA=-1 and " +
                      Rok_2001("FAKOUT_DATA_WYST"),
                  "FAKTURY");

    for (const char* kolumna : {" [zam_id] long", " [zmiany_nr] long"})
        for (const char* t : kDokumenty)
            DbWykonajKonwersje(std::string("alter table [") + t + "]   " + "ADD COLUMN" + kolumna);
    for (const char* kolumna : {"zam_id", "zmiany_nr"})
        for (const char* t : kDokumenty)
            DbWykonajKonwersje(std::string("UPDATE [") + t + "]   set [" + kolumna + "]=0 where [" +
                               kolumna + "] is null");

    DbWykonajKonwersje(std::string("Alter table [SETUP] ") + "ADD COLUMN" + " USERS text(80)");
    DbWykonajKonwersje(std::string("Alter table [SETUP] ") + "ADD COLUMN" + " STAN text(80)");
    DbWykonajKonwersje(
        "create table [DRUKARKI] (ID Counter,Port text(100),Emulacja text(100),Podajnik "
        "text(100),StronaKodowa text(100),IleLiniNaStronie Long,SzerokoscStrony Long,Buforowanie "
        "Logical,WysunieciePrzed Long,WysunieciePo Long,LewyMargines Long ,WysunPoStronie "
        "Logical,LoginName Text(80))");
    DbWykonajKonwersje(std::string("alter table [sposob_numeracji] ") + "ADD COLUMN" +
                       " [zmiany] logical");
}
