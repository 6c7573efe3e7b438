// Steps 1.98 to 2.00: the revenue and expense book, fixed assets, vehicles, the tax
// offices and the first personnel tables; the flag columns of 1.99; the old order,
// semi-product and raw-material tables dropped and the driver dictionary created.
// Every statement goes through the main executor; none of these steps reads a recordset.
#include "driver/konwersje.h"

void ClsKonwersje::Konwersja_198() {
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN Naz_w_kasie TEXT(20)");
    DbWykonajKonwersje("Update PRODUKTY set grupa='Podstawowa' where grupa is null");

    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN kosztpojazdu Logical");
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN OdliczVAT Logical");
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN Id_Poj_Domyslny Long");
    DbWykonajKonwersje("update PRODUKTY set Id_Poj_Domyslny =0 where Id_Poj_Domyslny is null");

    DbWykonajKonwersje("alter table Zakupy_zawart ADD COLUMN ID_poj Long");
    DbWykonajKonwersje("update Zakupy_zawart set ID_poj =0 where ID_poj is null");
    DbWykonajKonwersje("alter table Zakupy_zawart ADD COLUMN id_kpir Long");
    DbWykonajKonwersje("update Zakupy_zawart set id_kpir =0 where id_kpir is null");
    DbWykonajKonwersje("alter table Zakupy_zawart ADD COLUMN WtymST Single DEFAULT 0");
    DbWykonajKonwersje("update Zakupy_zawart set WtymST =0 where WtymST is null");

    // Sales documents are linked to the book entry they were booked under.
    for (const char* tabela : {"Faktury_Wych", "Faktury_Wych_Korekta", "Paragon"}) {
        const std::string t = tabela;
        DbWykonajKonwersje("alter table " + t + " ADD COLUMN id_kpir Long");
        DbWykonajKonwersje("update " + t + " set id_kpir =0 where id_kpir is null");
    }

    // The registers start empty on every run; the personnel tables other than
    // KADRY_PRACOWNICY are kept (their creates below are absorbed on a second run).
    DbWykonajKonwersje("DROP TABLE WYPOSAZENIE");
    DbWykonajKonwersje("DROP TABLE [KPIR_KSIEGA]");
    DbWykonajKonwersje("DROP TABLE [KPIR_Okresy]");
    DbWykonajKonwersje("DROP TABLE [SRODKI_TRWALE]");
    DbWykonajKonwersje("DROP TABLE [POJAZDY]");
    DbWykonajKonwersje("DROP TABLE [S_POJAZDY_przej]");
    DbWykonajKonwersje("DROP TABLE [S_TRASY]");
    DbWykonajKonwersje("DROP TABLE [KADRY_PRACOWNICY]");
    DbWykonajKonwersje("DROP TABLE [S_US]");
    DbWykonajKonwersje("DROP TABLE [S_StawkiKM]");

    DbWykonajKonwersje(
        "create table [KPIR_KSIEGA] (kpir_id COUNTER ,numer TEXT(50), data DATE,konh_id "
        "LONG,konh_nazwa TEXT(60),konh_adres TEXT(60),opis TEXT(60),uwagi TEXT(60),rodzaj "
        "loNG,zaksieg TEXT(60),kwota_p Single DEFAULT 0,kwota_z Single DEFAULT 0,kwota_z2 "
        "Single DEFAULT 0,kwota_w Single DEFAULT 0,rodzajdok text(30),id_dok long)");
    DbWykonajKonwersje(
        "create table [KPIR_Okresy] (zm_id COUNTER,rok loNG,miesiac Long,koniec "
        "LOGICAL,kwota_p Single DEFAULT 0,kwota_z Single DEFAULT 0,kwota_w Single DEFAULT 0)");
    DbWykonajKonwersje(
        "create table [SRODKI_TRWALE] (id COUNTER,numer TEXT(20),Symbol TEXT(50),data_n "
        "DATE,data_wpr_e DATE,data_zdj_e DATE,wartosc money,umorzenie money,wprowadz "
        "TEXT(1),sp_amort TEXT(20),stawka_amort money,ksiega_id loNG,id_prod long, id_dok "
        "long)");
    DbWykonajKonwersje(
        "create table [POJAZDY] (id COUNTER,NR_REJ TEXT(40),Wlasciciel TEXT(40),Marka "
        "TEXT(40),Pojemnosc Single DEFAULT 0,ID_kier long ,ID_prac long)");
    DbWykonajKonwersje(
        "create table [S_POJAZDY_przej] (id_p COUNTER,id_poj loNG,numer TEXT(30),data "
        "DATE,Cel TEXT(40),Trasa TEXT(40),ilosc_km Single DEFAULT 0,cena Single DEFAULT "
        "0,id_kpir loNG)");
    DbWykonajKonwersje(
        "create table [S_TRASY] (id COUNTER,nazwa TEXT(40),kilometry Single DEFAULT 0)");
    DbWykonajKonwersje(
        "create table [KADRY_PRACOWNICY] (Numer loNG,DataOD Date, Nazwisko "
        "TEXT(50),Nazwisko_p TEXT(50),Nazwisko_r TEXT(50),Plec TEXT(1),Imie1 TEXT(50),Imie2 "
        "TEXT(50),Imie_oj TEXT(50),Imie_m TEXT(50),miejsce_ur TEXT(50),data_ur "
        "DATE,Stan_Cywilny text(1),Narodowosc Text(30),Obywatelstwo Text(30),pesel "
        "TEXT(11),NIP TEXT(13),Nr_dow text(15), MiejsceWystDOW Text (50), DataWystDow "
        "Date,NrPaszp Text(15),NrPrawaJadzy Text(15),STOSUNK_DO_WOJ text (15),KATEGORIA_WOJ "
        "text(15),SPECJALIZACJA_woj text(15),NUMER_DOKUMNETU_WOJ text(15),PRZYDZIAl_MOBIL_woj "
        "text(50), ID_WKU long,id_US loNG,ID_WYKSZTALCENIA long,STOPIEN_NAUKOWY "
        "text(15),ID_ZAWODU_WYU long, ID_ZAWODU_WYK long,ID_DZIALU_KADROWEGO "
        "long,ID_DZIALU_PLACOWEGO long,ID_STANOWISKA Long,WSPCZYNNIK_ZATR Single DEFAULT "
        "0,KATEGORIA_ZASZer long,ID_GRUPY_FU Text(1),ZATR_OD date,ZATRUD_DO date,TRYB_ZWOL "
        "text(70),KWOTA_ODSZ_ZA_SOW currency,DNI_EKWIWALENTU_ZA_URLOP "
        "long,DNI_WYKORZYSTANEJ_OPIEKI long, NUMER_UMOWY text(25), DATA_ZAWARCIA_UMOWY "
        "date,DATA_ROZPOCZECIA_PRACY date,RODZAJ_UMOWY text(15),DATA_UMOWY_OD "
        "date,DATA_UMOWY_DO date,SPOSOB_PRZYJECIA text(70),ID_MIEJSCA_WYK_PRACY "
        "long,PODSTAWA_ZMIANY_UMOWY text(70),PODSTAWA_DO_STAWKI text(70),PODSTAWA_DO_DODATKU "
        "text(70),PODSTAWA_DO_PREMI Text(70),KOMENTARZ_UMOWY text(150),ID_KALENDARZA "
        "long,ID_GRUPY_ALGORYTMOW long,ID_BANKU long,PREFIX_KONTA text(20),SUFFIX_KONTA "
        "text(40),ID_GRUPY_INW long,DATA_OD_INWAL date,DATA_DO_INWAL date,RODZAJ_RENTY "
        "text(15),NR_DECYZJI_RENTY text(15),PRZECIWSKAZANIA_RENTY text(100),SCHORZENIE text "
        "(100),ZAZYWANE_LEKI text(100),id counter)");
    DbWykonajKonwersje(
        "create table [KADRY_ADRESY] (ID_prac long,Rodzaj text(1),Dataod date, [ulica] "
        "TEXT(40) ,[dom] TEXT(5) ,[mieszkanie] TEXT(5) , [kodpocztowy] "
        "TEXT(6),[miejscowosc] TEXT(40), [wojew] TEXT(40),[gmina] TEXT(40),[powiat] "
        "TEXT(40),[poczta] TEXT(40),tel TEXT(40),email text (30))");
    DbWykonajKonwersje(
        "create table [KADRY_NIEOBECNOSCI] (ID_prac Long, ID_Nieob long, Dataod date, "
        "Datado date,DATA_DOST_L4 date,NUMER_L4 text(10),KOD_CHOROBY text(10))");
    // Three value tables of one layout: a value per employee, data item and start date.
    for (const char* tabela : {"KADRY_DANE_BO", "KADRY_DANE_MIES", "KADRY_DANE_ROK"})
        DbWykonajKonwersje(std::string("create table [") + tabela +
                           "] (ID_prac long, id_DK long,DataOD date, Wartosc Single DEFAULT "
                           "0,WartoscTXT Text(30))");
    DbWykonajKonwersje(
        "create table [KADRY_DK_S] (ID_DK LONG,NAZWA TEXT (30),NAZWAPRN TEXT(30),Okres "
        "date,Wartosc Single DEFAULT 0, Rodzaj text(15),SQL1 memo)");
    DbWykonajKonwersje(
        "create table [S_US] ([id] COUNTER,[nazwa] TEXT(50),[ulica] TEXT(50),[kod] "
        "TEXT(6),[miasto] TEXT(50))");
    DbWykonajKonwersje(
        "create table [S_StawkiKM] ([id] COUNTER,[DataOd] date,[Ponizej900] "
        "logical,[Wartosc] Single DEFAULT 0)");

    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [ost_il_kas] Single DEFAULT 0");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [Nr_w_kasie] text (5)");
    DbWykonajKonwersje("alter table [KPIR_KSIEGA] ADD COLUMN [id_poj] long");
}

void ClsKonwersje::Konwersja_199() {
    DbWykonajKonwersje("alter table [Ustawienia] ADD COLUMN [id_konh_el] long");
    DbWykonajKonwersje("alter table [PRODUKTY] ADD COLUMN [Koszt_RiR] Logical");
    DbWykonajKonwersje("alter table Zakupy_zawart ADD COLUMN [Nie_Ksieguj] Logical");
    DbWykonajKonwersje("alter table Faktury_Wych_Korekta_zawart ADD COLUMN [Nie_Ksieguj] Logical");
    DbWykonajKonwersje("alter table [Kontrahenci] ADD COLUMN [LCEN_NAZWA_ID_2] Text(20)");
}

void ClsKonwersje::Konwersja_200() {
    DbWykonajKonwersje("Drop Table [Zamowienia]");
    DbWykonajKonwersje("Drop Table [PolPRODUKTY_receptury]");
    DbWykonajKonwersje("Drop Table [PolPRODUKTY]");
    DbWykonajKonwersje("Drop Table [Surowce]");
    DbWykonajKonwersje("Drop Table [magazyn_surowcow]");
    DbWykonajKonwersje(
        "create table kierowcy (kier_id counter,kier_nazwa TEXT(50), kier_symbol TEXT (5) "
        ",kier_opis memo )");
}
