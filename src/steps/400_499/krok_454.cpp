// Step 4.54: the printers' code pages (the 18 Polish letters as each code page encodes
// them) and the control sequences of the printer emulations, and the keys of the price
// lists keyed by id.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"

namespace {

// Windows-1250, codes 128 to 255, as Unicode; the five codes that the code page leaves
// undefined stand for the control characters of the same number.
constexpr uint16_t kCp1250[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// The text whose Windows-1250 encoding is the given codes.
std::string Tekst_1250(const std::vector<int>& kody) {
    std::string t;
    for (int kod : kody) {
        const uint32_t u = kod < 128 ? static_cast<uint32_t>(kod) : kCp1250[kod - 128];
        if (u < 0x80) {
            t += static_cast<char>(u);
        } else if (u < 0x800) {
            t += static_cast<char>(0xC0 | (u >> 6));
            t += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            t += static_cast<char>(0xE0 | (u >> 12));
            t += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            t += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return t;
}

struct Strona_Kodowa {
    const char* nazwa;
    std::vector<int> litery;  // ą ć ę ł ń ó ś ź ż Ą Ć Ę Ł Ń Ó Ś Ź Ż
};

const std::vector<Strona_Kodowa>& Strony_Kodowe() {
    static const std::vector<Strona_Kodowa> s = {
        {"Cp1250 Windows",
         {185, 230, 234, 179, 241, 243, 156, 159, 191, 165, 198, 202, 163, 209, 211, 140, 143,
          175}},
        {"Bez polskich znaków",
         {97, 99, 101, 108, 110, 111, 115, 122, 122, 65, 67, 69, 76, 78, 79, 83, 90, 90}},
        {"Cp852 Latin 2",
         {165, 134, 169, 136, 228, 162, 152, 171, 190, 164, 143, 168, 157, 227, 224, 151, 141,
          189}},
        {"Mazowia",
         {134, 141, 145, 146, 164, 162, 158, 166, 167, 143, 149, 144, 156, 165, 163, 152, 160,
          161}},
        {"Mazowia2",
         {230, 143, 197, 229, 165, 243, 215, 142, 158, 198, 188, 201, 157, 185, 250, 156, 225,
          237}},
        {"DHN?",
         {137, 138, 139, 140, 141, 142, 143, 145, 144, 128, 129, 130, 131, 132, 133, 134, 136,
          135}},
        {"ISO-8859-2",
         {95, 138, 224, 166, 189, 161, 194, 43, 43, 237, 195, 45, 250, 208, 203, 142, 200, 187}},
        {"Windows-EE",
         {166, 138, 224, 166, 189, 161, 194, 43, 43, 185, 195, 45, 250, 208, 203, 238, 198, 187}},
        {"CSK",
         {225, 237, 243, 250, 165, 185, 142, 202, 158, 199, 252, 233, 226, 228, 249, 230, 179,
          231}},
        {"Cyfromat",
         {201, 197, 229, 244, 246, 188, 190, 156, 140, 199, 252, 233, 226, 228, 249, 230, 179,
          231}},
        {"DHN",
         {235, 213, 245, 116, 143, 196, 198, 197, 201, 199, 252, 233, 226, 228, 249, 230, 179,
          231}},
        {"IINTE-ISIS",
         {201, 197, 229, 244, 246, 188, 190, 140, 156, 199, 252, 233, 226, 228, 249, 230, 231,
          179}},
        {"IEA-Swierk",
         {225, 141, 233, 232, 165, 243, 231, 202, 197, 198, 199, 201, 157, 185, 214, 219, 163,
          229}},
        {"Logic",
         {235, 213, 245, 238, 143, 196, 198, 201, 197, 199, 252, 233, 226, 228, 249, 230, 231,
          179}},
        {"Microvex",
         {225, 141, 233, 232, 165, 243, 231, 202, 197, 198, 199, 201, 157, 185, 244, 156, 163,
          229}},
        {"Ventura",
         {190, 246, 165, 158, 197, 243, 228, 233, 231, 140, 214, 185, 142, 229, 198, 196, 201,
          199}},
        {"ELWRO-Junior",
         {223, 209, 242, 253, 95, 180, 161, 183, 168, 45, 43, 43, 166, 43, 164, 203, 43, 43}},
        {"Mac",
         {179, 143, 159, 170, 45, 140, 43, 201, 248, 228, 238, 243, 216, 45, 95, 242, 198, 251}},
        {"AmigaPL",
         {212, 224, 219, 95, 180, 161, 162, 183, 251, 45, 45, 45, 43, 164, 203, 239, 43, 95}},
        {"TeXPL",
         {237, 243, 142, 160, 159, 161, 95, 166, 43, 252, 233, 230, 213, 245, 203, 197, 214, 141}},
        {"Atari-Calamus",
         {208, 207, 203, 239, 210, 205, 206, 236, 43, 45, 45, 43, 45, 43, 195, 227, 43, 43}},
        {"CorelDraw!",
         {242, 253, 138, 195, 189, 161, 185, 160, 166, 43, 178, 43, 250, 208, 203, 95, 223, 221}},
        {"ATM!",
         {241, 154, 219, 173, 189, 161, 247, 183, 216, 45, 227, 45, 240, 208, 203, 205, 43, 95}},
    };
    return s;
}

// An emulation and its ten sequences: initialise, form feed, compressed on and off, bold
// on and off, wide on and off, underline on and off.
struct Emulacja {
    const char* nazwa;
    std::vector<std::vector<int>> kody;
};

const std::vector<Emulacja>& Emulacje() {
    const std::vector<int> ff = {12};
    const std::vector<int> ff_hp = {27, 38, 108, 48, 72};
    const std::vector<int> bold_epson = {27, 71}, bold_off_epson = {27, 72};
    const std::vector<int> wide_epson = {27, 87, 49}, wide_off_epson = {27, 87, 48};
    const std::vector<int> ul_epson = {27, 45, 49}, ul_off_epson = {27, 45, 48};
    const std::vector<int> ul_hp = {27, 38, 100, 48, 68}, ul_off_hp = {27, 38, 100, 64};
    const std::vector<int> bold_off_hp = {27, 40, 115, 48, 66};
    static const std::vector<Emulacja> e = {
        {"EMULACJA EPSON OKI",
         {{27, 64},
          ff,
          {17},
          {18},
          bold_epson,
          bold_off_epson,
          wide_epson,
          wide_off_epson,
          ul_epson,
          ul_off_epson}},
        {"EMULACJA EPSON",
         {{27, 64, 18, 27, 72, 27, 87, 48},
          ff,
          {15},
          {18},
          bold_epson,
          bold_off_epson,
          wide_epson,
          wide_off_epson,
          ul_epson,
          ul_off_epson}},
        {"EMULACJA EPSON Draft",
         {{27, 64, 18, 27, 72, 27, 87, 48, 27, 120, 1},
          ff,
          {15},
          {18},
          bold_epson,
          bold_off_epson,
          wide_epson,
          wide_off_epson,
          ul_epson,
          ul_off_epson}},
        {"EMULACJA EPSON GĘSTY",
         {{27, 64, 27, 48},
          ff,
          {15},
          {18},
          bold_epson,
          bold_off_epson,
          wide_epson,
          wide_off_epson,
          ul_epson,
          ul_off_epson}},
        {"HP DESKJET",
         {{27, 69, 27, 40, 49, 55, 85, 27, 38, 108, 48, 69, 27, 42, 111, 51, 68},
          ff,
          {27, 38, 107, 50, 83},
          {27, 38, 107, 48, 83},
          {27, 40, 115, 55, 66},
          bold_off_hp,
          {27, 38, 107, 49, 83},
          {27, 38, 107, 48, 83},
          ul_hp,
          ul_off_hp}},
        {"HP 520 DESKJET",
         {{27, 69, 27, 37, 45, 50, 51, 52, 53, 88},
          ff,
          {27, 40, 115, 49, 50, 72},
          {27, 40, 115, 49, 48, 72},
          {27, 40, 115, 51, 66},
          bold_off_hp,
          {},
          {},
          ul_hp,
          ul_off_hp}},
        {"HP LASER JET III",
         {{27, 69},
          ff_hp,
          {27, 40, 115, 56, 83},
          {27, 40, 115, 48, 83},
          {27, 40, 115, 51, 66, 49, 51},
          bold_off_hp,
          {},
          {},
          ul_hp,
          ul_off_hp}},
        {"HP LASER JET 1100",
         {{27, 69, 27, 40, 49, 55, 85, 27, 38, 108, 48, 69},
          ff_hp,
          {27, 40, 115, 49, 56, 72},
          {27, 38, 107, 48, 83},
          {27, 40, 115, 52, 66},
          bold_off_hp,
          {27, 40, 115, 48, 53, 72},
          {27, 38, 107, 48, 83},
          ul_hp,
          ul_off_hp}},
        {"HP LASER JET 1100 GĘSTY",
         {{27, 69, 27, 38, 108, 49, 50, 68, 27, 40, 49, 55, 85, 27, 38, 108, 51, 69},
          ff_hp,
          {27, 40, 115, 49, 56, 72},
          {27, 10, 27, 38, 107, 48, 83},
          {27, 40, 115, 52, 66},
          bold_off_hp,
          {27, 40, 115, 48, 53, 72},
          {27, 38, 107, 48, 83},
          ul_hp,
          ul_off_hp}},
        {"LEXMARK",
         {{27, 69, 27, 38, 108, 48, 69, 27, 42, 111, 51, 68},
          ff,
          {27, 40, 115, 49, 50, 72},
          {27, 40, 115, 49, 48, 72},
          {27, 40, 115, 51, 66},
          bold_off_hp,
          {},
          {},
          {},
          {}}},
        {"LEXMARK 3200",
         {{27, 69, 27, 38, 108, 48, 69, 27, 42, 111, 51, 68},
          ff,
          {27, 38, 107, 50, 83},
          {27, 38, 107, 48, 83},
          {27, 40, 115, 55, 66},
          bold_off_hp,
          {27, 38, 107, 49, 83},
          {27, 38, 107, 48, 83},
          {},
          {}}},
    };
    return e;
}

}  // namespace

void ClsKonwersje::Konwersja_454() {
    Utworz_Tabele("Drukarki_Litery",
                  "StronaKodowa Text (100), chars Text (18), Countt int identity,jj Logical",
                  "StronaKodowa asc");
    for (const Strona_Kodowa& s : Strony_Kodowe())
        DbWykonajKonwersje(
            std::string("insert into Drukarki_Litery (StronaKodowa,chars,jj) values(") + "'" +
            s.nazwa + "','" + Tekst_1250(s.litery) + "',-1)");
    Utworz_Tabele(
        "Drukarki_Kody",
        "Emulacja Text (100),PRN_INITIALIZE_PRINTER Text (255),PRN_FORM_FEED__FF_ Text "
        "(255),PRN_COMPRESSED_PREFIX Text (255),PRN_COMPRESSED_SUFIX Text (255),PRN_BOLD_PREFIX "
        "Text (255),PRN_BOLD_SUFIX Text (255),PRN_WIDE_PREFIX Text (255),PRN_WIDE_SUFIX Text "
        "(255),PRN_UNDERLINE_PREFIX Text (255),PRN_UNDERLINE_SUFIX Text (255), Countt int "
        "identity, II Logical",
        "Emulacja");
    for (const Emulacja& e : Emulacje()) {
        std::string wartosci;
        for (size_t i = 0; i < e.kody.size(); ++i) {
            if (i > 0) wartosci += "','";
            wartosci += Tekst_1250(e.kody[i]);
        }
        DbWykonajKonwersje(
            std::string("insert into Drukarki_Kody "
                        "(Emulacja,PRN_INITIALIZE_PRINTER,PRN_FORM_FEED__FF_,PRN_COMPRESSED_PREFIX,"
                        "PRN_COMPRESSED_SUFIX,PRN_BOLD_PREFIX,PRN_BOLD_SUFIX,PRN_WIDE_PREFIX,PRN_"
                        "WIDE_SUFIX,PRN_UNDERLINE_PREFIX,PRN_UNDERLINE_SUFIX,ii) values(") +
            "'" + e.nazwa + "','" + wartosci + "',-1)");
    }

    // A line whose price list was not found when the lists got their ids has no id: it
    // names no price list and gets 0, so that the id can be part of the line's primary
    // key. A product keeps one line without a price list (the one it has with 0, or else
    // its first by price list name); its other such lines would repeat that key of the
    // line's unique index: they are deleted, each one logged.
    std::set<std::string> bez_cennika;
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs, "PROD_ID from CENNIKI_ZAWART where ID_CENNIKA=0") > 0)
        for (; !rs->Eof(); rs->MoveNext()) bez_cennika.insert(NzStr(rs->Fields(0).value()));
    ZamknijRSKonwersje(rs);
    if (DbOtwórzSELKonwersje(rs,
                             "PROD_ID,LCEN_NAZWA_ID from CENNIKI_ZAWART where ID_CENNIKA is null "
                             "and PROD_ID is not null order by PROD_ID,LCEN_NAZWA_ID") > 0)
        for (; !rs->Eof(); rs->MoveNext()) {
            const std::string prod = NzStr(rs->Fields(0).value());
            if (bez_cennika.insert(prod).second) continue;
            Zapisz_Log_Kroku("CENNIKI_ZAWART: usunięto wiersz PROD_ID=" + prod + ", LCEN_NAZWA_ID='" +
                           NzStr(rs->Fields(1).value()) +
                           "' bez cennika; produkt ma już wiersz bez cennika",
                       "Konwersja", "Wiersz cennika bez cennika");
            rs->Delete();
        }
    ZamknijRSKonwersje(rs);
    DbWykonajKonwersje("update [CENNIKI_ZAWART] set ID_CENNIKA=0 where ID_CENNIKA is null");
    Utworz_Klucz_Podstawowy("CENNIKI", "LCEN_NAZWA_ID asc,LCEN_DATA asc");
    Utworz_Index_Unikalny("active", "CENNIKI", "LCEN_NAZWA_ID asc,active asc,ID_CENNIKA asc");
    Utworz_Index_Unikalny("id", "CENNIKI", "ID_CENNIKA asc");
    Utworz_Klucz_Podstawowy("CENNIKI_ZAWART", "LCEN_NAZWA_ID asc,PROD_ID asc,id_cennika asc");
    Utworz_Index_Unikalny("id", "CENNIKI_ZAWART", "ID_CENNIKA asc,PROD_ID asc");
    Utworz_Index_Unikalny("DoCzyTowHan", "CENNIKI_ZAWART", "PROD_ID,LCEN_NAZWA_ID,id_cennika");
    Utworz_Index("id2", "CENNIKI_ZAWART", "LCEN_NAZWA_ID asc,active asc,PROD_ID");
}
