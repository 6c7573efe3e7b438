-- Another customer's database, the demonstration database of release 1.65 with the settings
-- and rows that this customer's use left otherwise (the road "wariant" of pokrycie_kodu.sh).
-- The statements above the first "-- at VERSION" line change the database of release 1.65;
-- those below such a line change it once the conversion has reached VERSION, as the
-- customer's use of that release left it.

-- Documents numbered per month, not per year.
UPDATE ustawienia SET roczna = False;
-- A footer text that still gives the maker's old telephone number.
UPDATE ustawienia SET text3 = '(0-22) 631-47-05';
-- No place of issue set.
DELETE FROM PARAMETRY_NAGLOWEK WHERE dokument = 'Miejsce wystawienia';

-- at 2.16
-- The balance confirmation letter without the date of 2.16's wording: the user writes it
-- on the printed letter.
UPDATE Setup SET Wartosc = 'Na podstawie umowy o rachunkowości z dnia 29 września 1994 r. (Dz.U. Nr 121 z 1994 r., poz. 591) wzywamy Was do potwierdzenia w terminie 10 dni na kopii niniejszego potwierdzenia, zgodności następujących sald figurujących w naszych księgach'
    WHERE Nazwa = 'SALDO_POTWIERDZENIE_1';
