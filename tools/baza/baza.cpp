#include "baza.h"

#include "jet/dates.h"

namespace baza {

namespace {
constexpr const char* kHaslo = "Kv7^pq|Lm3#x9";
}

Budowa::Budowa(jet::Database& d, const Opcje& o) : db(d), opcje(o), los(o.ziarno) {
    pierwszy_dzien = *jet::dates::to_serial(o.large ? 1998 : 2000, 1, 3);
    dni = o.dni > 0 ? o.dni : (o.large ? 730 : 90);
}

void Budowa::sql(std::string_view tekst) {
    db.execute(tekst);
}

void Budowa::wstaw(std::string_view tabela, const jet::ColumnValues& wartosci) {
    jet::insert_row(db, tabela, wartosci);
}

int Budowa::losuj(int od, int do_) {
    return std::uniform_int_distribution<int>(od, do_)(los);
}

void zbuduj_baze_165(const std::string& path, const Opcje& o) {
    jet::CreateOptions c;
    c.format_version = "4.0";
    c.password = kHaslo;
    jet::Database::create(path, c);
    auto db = jet::Database::open(path, kHaslo);
    Budowa b(*db, o);
    jet::atomically(*db, [&]() {
        for (const Tabela& t : tabele_165()) t.zbuduj(b);
        for (auto* dodatki : {dodatki_390_413, dodatki_414_466, dodatki_467_499, dodatki_500_558,
                              dodatki_559_646})
            dodatki(b);
    });
    db->checkpoint();
    db->close();
}

}  // namespace baza
