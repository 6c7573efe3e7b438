#!/usr/bin/env bash
# The main job: builds a small demonstration database with the Jet SQL shell and
# queries it. Run scripts/setup.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=build/demo
mkdir -p "$demo"
rm -f "$demo/piekarnia.db"
./build/tools/jetsql/jetsql --create "$demo/piekarnia.db" <<'SQL'
create table [Nieruszac] (NumerWersji double)
insert into Nieruszac (NumerWersji) values (1.65)
create table PRODUKTY (PROD_ID counter, PROD_NAZWA text(60), PROD_CENA money, PROD_WAGA single)
create unique index Podstawowy on PRODUKTY (PROD_ID) with primary
insert into PRODUKTY (PROD_NAZWA, PROD_CENA, PROD_WAGA) values ('Chleb żytni', 4.2, 0.8)
insert into PRODUKTY (PROD_NAZWA, PROD_CENA, PROD_WAGA) values ('Bułka kajzerka', 0.45, 0.05)
insert into PRODUKTY (PROD_NAZWA, PROD_CENA, PROD_WAGA) values ('Chałka z kruszonką', 3.9, 0.4)
insert into PRODUKTY (PROD_NAZWA, PROD_CENA, PROD_WAGA) values ('ciasto drożdżowe', 12.5, 1)
select PROD_ID, PROD_NAZWA, PROD_CENA from PRODUKTY order by PROD_NAZWA
select Count(*) as Produkty, Sum(PROD_CENA) as Razem from PRODUKTY
update PRODUKTY set PROD_CENA = Round(PROD_CENA * 1.1, 2) where PROD_NAZWA like 'ch*'
select PROD_NAZWA, Format(PROD_CENA, '0.00') as Cena from PRODUKTY order by PROD_CENA desc
.schema PRODUKTY
SQL
