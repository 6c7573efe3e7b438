SELECT [NumerWersji] FROM Nieruszac
Select [sm_id],[tryb],[rob_kier] FROM [SPOSOB_NUMERACJI]
Select [kier_id]  FROM [S_KIEROWCY]
create table [tab_nowa_dok] (dok Long,konh Long,data_w Date,brutto money,numer TEXT(25),typ_dok TEXT(2),tryb Logical,wystawiony Logical,konh_id Long )
create table [tab_nowa_fzb] (nazwa_pelna TEXT(180),skrot TEXT(16),platnik Logical,id Long,kod TEXT(6),tryb Logical,dla_platnika Logical)
create table [RemanentInwent] (ID_RI counter,RI text(1),Data Date,Opis text(250),Komisja text(100))
create table [REMANENTINWENT_ZAWARTOSC] (ID_RI long,RI text(1),Rodz text(1),ID long,Ilosc_namagazynie long, Ilosc_stanfaktyczny long,Cena Single DEFAULT 0)
alter table Paragon ADD COLUMN wart_kp money
UPDATE Paragon SET wart_kp=0 where wart_kp is null
alter table SPRZEDAZ_NEW ADD COLUMN wart_kp money
UPDATE SPRZEDAZ_NEW SET wart_kp=0 where wart_kp is null
drop index sur_numer on surowce
alter table zakupy ADD COLUMN wart_kp money
UPDATE zakupy SET wart_kp=0 where wart_kp is null
alter table faktury_wych_korekta ADD COLUMN tekst_kor TEXT(60)
alter table kontrahenci add  COLUMN Rabat Long
alter table kontrahenci add  COLUMN Opis memo
alter table kontrahenci add  COLUMN Podpis TEXT(26)
UPDATE kontrahenci SET Rabat=0
UPDATE kontrahenci SET opis=' '
alter table FAKTURY_WYCH_KOREKTA ADD COLUMN zakup Logical
alter table ZAKUPY ADD COLUMN blok Logical
alter table [SPRZEDAZ_ILOSC] ADD COLUMN zakup_il Single DEFAULT 0
Update [SPRZEDAZ_ILOSC] SET zakup_il = 0
DROP TABLE KOSZTY
DELETE FROM RODZAJ_WYST_DOKUM WHERE RDOK_NAZWA_ID='Rachunek uproszczony'
DELETE FROM RODZAJ_WYST_DOKUM WHERE RDOK_NAZWA_ID='Rachunek uproszczony zbiorczy'
ALTER TABLE [KP] ADD COLUMN KB Text(1)
ALTER TABLE [KW] ADD COLUMN KB Text(1)
ALTER TABLE [KP] ADD COLUMN Prz Logical
ALTER TABLE [KW] ADD COLUMN Prz Logical
Update [KP] set kb='K'
Update [KW] set kb='K'
ALTER TABLE [Raport_kasowy] ADD COLUMN KB Text(1)
Update [Raport_kasowy] set kb='K' where kb=''
alter table DOWODY_DOSTAW ADD COLUMN wart_kp money
UPDATE DOWODY_DOSTAW SET wart_kp=0
alter table DOWODY_ZWROTU ADD COLUMN wart_kp money
UPDATE DOWODY_ZWROTU SET wart_kp=0
alter table FAKTURY_WYCH ADD COLUMN wart_dd money
UPDATE FAKTURY_WYCH SET wart_dd=0
drop index SUR_NAZWA_id on surowce
Select stvat_id,STVAT_NAZWA from VAT_STAWKI where stvat_id='3'
alter table TABELA_VAT ADD COLUMN vat3 Single DEFAULT 0
alter table TABELA_VAT ADD COLUMN n3 Single DEFAULT 0
update TABELA_VAT set n3=0 where n3 is null
update TABELA_VAT set vat3=0 where vat3 is null
alter table POLPRODUKTY ADD COLUMN id counter
alter table PolPRODUKTY_Receptury ADD COLUMN id long
Select PolPRODUKTY_Receptury.id,POLPRODUKTY.id from PolPRODUKTY_Receptury inner join POLPRODUKTY on POLPRODUKTY.pprod_nazwa_id=PolPRODUKTY_Receptury.pprod_nazwa_id
Select RDOK_NAZWA_ID,rdok_nowy from RODZAJ_WYST_DOKUM where RDOK_NAZWA_ID='Faktura VAT RR'
drop index numer_zaksiegowania on zakupy
alter table ZAKUPY ADD COLUMN numer_del text(50)
alter table ZAKUPY ADD COLUMN RR Logical
update zakupy set numer_del=numer_zaksiegowania,numer_zaksiegowania=' ' where del and numer_zaksiegowania<>' '
alter table ZAKUPY ADD COLUMN num_ndok Long
UPDATE ZAKUPY SET num_ndok=val(numer_zaksiegowania) WHERE numer_zaksiegowania<>' '
UPDATE ZAKUPY SET num_ndok=val(numer_del) WHERE numer_zaksiegowania=' '
alter table KONTRAHENCI ADD COLUMN PESEL text(50)
drop index cen_id on cennik
create table [Zamowienia_Raport_Surowce] (data date,sur_id long,Ilosc Single DEFAULT 0)
create table magazyn_SUROWCOW ([SUR_id] Long,ilosc   Single DEFAULT 0)
alter table SUROWCE ADD COLUMN grupa text(50)
alter table PRODUKTY ADD COLUMN grupa text(50)
Select prod_numer_id,prod_wl from PRODUKTY order by prod_numer_id
UPDATE FAKTURY_WYCH INNER JOIN KONTRAHENCI ON FAKTURY_WYCH.KONH_ID = KONTRAHENCI.KONH_ID SET FAKTURY_WYCH.kier_id = [kontrahenci].[kier_id] where FAKTURY_WYCH.kier_id=0
UPDATE DOWODY_DOSTAW set wart_kp=0 where wart_kp is null
UPDATE FAKTURY_WYCH set wart_dd=0 where wart_dd is null
alter table REMANENTINWENT_ZAWARTOSC ADD COLUMN mag_prod Single DEFAULT 0
Update REMANENTINWENT_ZAWARTOSC set mag_prod=0 where mag_prod is null
alter table Zamowienia_raport ADD COLUMN rap_id long
alter table Zamowienia_Raport_Surowce ADD COLUMN rap_id long
Select rap_id,data from zamowienia_raport order by data
Update Zamowienia_Raport_Surowce set Zamowienia_Raport_Surowce.rap_id=0
Update Zamowienia_Raport_Surowce inner join Zamowienia_raport on Zamowienia_Raport.data=Zamowienia_Raport_Surowce.data set Zamowienia_Raport_Surowce.rap_id=Zamowienia_Raport.rap_id
alter table SPRZEDAZ_NEW ADD COLUMN rodzdok text(1) null
Update SPRZEDAZ_NEW set rodzdok='R' where rodzdok is null
Select dokument from PARAMETRY_NAGLOWEK where dokument='PW'
Insert Into zakupy_ilosc ( [sur_id], ilosc ) SELECT DISTINCTROW SUROWCE.[sur_id],  0 AS Wyr2 FROM SUROWCE LEFT JOIN zakupy_ilosc ON SUROWCE.[sur_id] = zakupy_ilosc.[sur_id] WHERE (((zakupy_ilosc.[sur_id]) Is Null))
alter table [SPRZEDAZ_ILOSC] ADD COLUMN przych_il Single DEFAULT 0
Update [SPRZEDAZ_ILOSC] set zakup_il=0 where zakup_il is null
Update [SPRZEDAZ_ILOSC] set przych_il=0 where przych_il is null
alter table [SPRZEDAZ_ILOSC] ADD COLUMN rozch_il Single DEFAULT 0
Update [SPRZEDAZ_ILOSC] set rozch_il=0 where rozch_il is null
Select sur_numer,prod_wl,sur_kod from SUROWCE order by sur_numer
alter table Zamowienia_raport ADD COLUMN blok long
Update Zamowienia_Raport set Zamowienia_Raport.blok=0 where blok is null
UPDATE [SPRZEDAZ_ILOSC] SET ROZCH_IL = 0 WHERE ROZCH_IL IS NULL
Select prod_numer_id,prod_wl from PRODUKTY where prod_wl=1 order by prod_numer_id
Update [magazyn_produktow] set ilosc=0
Select prod_id,ilosc From [magazyn_produktow]
create table Grupy (Nazwa text(40),opis memo,w_kasie text(19))
alter table [Cennik] ADD COLUMN Narzut money
alter table [Cennik] ADD COLUMN CEN_Narzut money
Update [Cennik] SET [CEN_narzut] = [CEN_NETTO] where [CEN_narzut]  is null
Update [Cennik] SET [narzut] = 0 where [narzut]  is null
alter table PRODUKTY ADD COLUMN act_sale logical
Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = True, PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = False,rodzaj='T' WHERE (((PRODUKTY.prod_wl)=0))
Update PRODUKTY SET PRODUKTY.act_sale = True, PRODUKTY.act_buy = False, PRODUKTY.act_to_rec = False, PRODUKTY.act_recipe = True,rodzaj='P' WHERE (((PRODUKTY.prod_wl)=1))
Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, act_to_rec, act_recipe,r_licz,nawazka,prod_waga,rodzaj )SELECT SUROWCE.SUR_SWW, SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, SUROWCE.sur_activ, SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, SUROWCE.grupa, surowce.prod_wl, 1 AS wyr1, 0 AS wyr2, 1 AS wyr3, 0 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'S' as wyr8 From SUROWCE GROUP BY SUROWCE.SUR_SWW, SUROWCE.JED_NAZWA_ID, SUROWCE.STVAT_ID, SUROWCE.sur_numer, SUROWCE.sur_activ, SUROWCE.sur_cena_n_ost, SUROWCE.sur_id, SUROWCE.SUR_NAZWA_id, surowce.grupa, SUROWCE.sur_kod,SUROWCE.prod_wl HAVING (((SUROWCE.sur_kod)=0) and ((SUROWCE.prod_wl)=1))
Update [zakupy_ilosc] inner join [PRODUKTY] on [PRODUKTY].[sur_id]=[zakupy_ilosc].[sur_id] set [zakupy_ilosc].[sur_id]=[PRODUKTY].[prod_id]
Update (FAKTURY_WYCH_KOREKTA INNER JOIN FAKTURY_WYCH_KOREKTA_ZAWART ON FAKTURY_WYCH_KOREKTA.FKOROUT_ID = FAKTURY_WYCH_KOREKTA_ZAWART.FKOROUT_ID) INNER JOIN PRODUKTY ON FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID = PRODUKTY.sur_id SET FAKTURY_WYCH_KOREKTA_ZAWART.PROD_ID = [PRODUKTY].[prod_id] WHERE (((FAKTURY_WYCH_KOREKTA.zakup)=-1))
Insert Into PRODUKTY ( prod_sww, prod_jed, STVAT_ID, PROD_NUMER_ID, prod_on, PROD_CENA_SUGERO, sur_id, PROD_NAZWA_id, grupa, prod_wl, act_buy, act_sale, act_to_rec, act_recipe,r_licz,nawazka,prod_waga,rodzaj,PROD_WYDAJNOSCzREC )SELECT '' as sww, polPRODUKTY.JED_NAZWA_ID, '22' as STVAT, 0 as numer, true as act, 0 as cena, polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,null as grupa, 1 AS wyr0, 0 AS wyr1, 0 AS wyr2, 1 AS wyr3, 1 AS wyr4,0 as wyr5,1 as wyr6,1 as wyr7,'O' as wyr8,PPROD_WYDAJNOSCzREC From polPRODUKTY GROUP BY polPRODUKTY.JED_NAZWA_ID, polPRODUKTY.id, polPRODUKTY.pprod_NAZWA_id,PPROD_WYDAJNOSCzREC
Insert Into [SPRZEDAZ_ILOSC] ( [prod_id], ilosc,zakup_il,przych_il,ROZCH_IL ) SELECT DISTINCTROW PRODUKTY.[prod_id],  0 AS Wyr2,  0 AS Wyr3,  0 AS Wyr4,  0 AS Wyr5  FROM PRODUKTY LEFT JOIN [SPRZEDAZ_ILOSC] ON PRODUKTY.[prod_id] = [SPRZEDAZ_ILOSC].[prod_id] WHERE ((([SPRZEDAZ_ILOSC].[prod_id]) Is Null))
Insert Into PRODUKTY_Receptury ( sur_id, PPROD_nazwa_ID, ilosc_sur, PROD_ID ) SELECT DISTINCTROW PRODUKTY.PROD_ID, Null AS Wyr1, PolPRODUKTY_Receptury.ilosc_sur, PRODUKTY_1.PROD_ID FROM (PRODUKTY AS PRODUKTY_1 INNER JOIN PolPRODUKTY ON PRODUKTY_1.sur_id = PolPRODUKTY.id) INNER JOIN (PolPRODUKTY_Receptury INNER JOIN PRODUKTY ON PolPRODUKTY_Receptury.SUR_ID = PRODUKTY.sur_id) ON PolPRODUKTY.id = PolPRODUKTY_Receptury.id GROUP BY PRODUKTY.PROD_ID, PolPRODUKTY_Receptury.ilosc_sur, PRODUKTY_1.PROD_ID, PRODUKTY_1.rodzaj HAVING (((PRODUKTY_1.rodzaj)='O'))
Update DISTINCTROW PRODUKTY AS PRODUKTY_1 INNER JOIN (PRODUKTY INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID) ON PRODUKTY_1.sur_id = PRODUKTY_Receptury.sur_id SET PRODUKTY_Receptury.[ilosc_sur] = [PRODUKTY_Receptury].ilosc_polprod,PRODUKTY_Receptury.ilosc_polprod = 0, PRODUKTY_Receptury.sur_id = [PRODUKTY_1].[prod_id] WHERE (((PRODUKTY_Receptury.ilosc_polprod)<>0) AND ((PRODUKTY_1.rodzaj)='O'))
Insert Into zakupy_ilosc ( [sur_id], ilosc ) SELECT DISTINCTROW PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN zakupy_ilosc ON PRODUKTY.[prod_id] = zakupy_ilosc.[sur_id] WHERE (((zakupy_ilosc.[sur_id]) Is Null))
Update [magazyn_produktow] inner join magazyn_SUROWCOW on magazyn_SUROWCOW.sur_id=[magazyn_produktow].prod_id set [magazyn_produktow].ilosc=[magazyn_produktow].ilosc+magazyn_SUROWCOW.ilosc
Update [SPRZEDAZ_ILOSC] inner join zakupy_ilosc on [SPRZEDAZ_ILOSC].prod_id=zakupy_ilosc.sur_id set [SPRZEDAZ_ILOSC].zakup_il=[SPRZEDAZ_ILOSC].zakup_il+zakupy_ilosc.ilosc
Update Zamowienia_Raport_Surowce inner join PRODUKTY on PRODUKTY.sur_id=Zamowienia_Raport_Surowce.sur_id set Zamowienia_Raport_Surowce.sur_id=PRODUKTY.prod_id
Update REMANENTINWENT_ZAWARTOSC inner join PRODUKTY on PRODUKTY.sur_id=REMANENTINWENT_ZAWARTOSC.id set REMANENTINWENT_ZAWARTOSC.id=PRODUKTY.prod_id where (REMANENTINWENT_ZAWARTOSC.rodz='S' or REMANENTINWENT_ZAWARTOSC.rodz='K') and PRODUKTY.prod_wl=1
Update REMANENTINWENT_ZAWARTOSC inner join PRODUKTY on PRODUKTY.sur_id=REMANENTINWENT_ZAWARTOSC.id set REMANENTINWENT_ZAWARTOSC.id=0 where (REMANENTINWENT_ZAWARTOSC.rodz='S' or REMANENTINWENT_ZAWARTOSC.rodz='K') and PRODUKTY.prod_wl=0
Delete from REMANENTINWENT_ZAWARTOSC where REMANENTINWENT_ZAWARTOSC.id=0
Update PRODUKTY_Receptury inner join PRODUKTY on PRODUKTY.prod_id=PRODUKTY_Receptury.prod_id set PRODUKTY_Receptury.prod_id=0 where PRODUKTY.prod_wl=0
Delete from PRODUKTY_Receptury where PRODUKTY_Receptury.prod_id=0
Update PRODUKTY set PRODUKTY.prod_wl=1 where PRODUKTY.prod_wl=0
Select prod_numer_id from PRODUKTY order by rodzaj,prod_numer_id
alter table Vat_stawki ADD COLUMN w_kasie text(19)
alter table jednostki ADD COLUMN w_kasie text(19)
UPDATE [PRODUKTY] SET [GRUPA]='Podstawowa' WHERE [GRUPA]='' OR [GRUPA] is null
Select Nazwa,opis,w_kasie from grupy where nazwa='Podstawowa'
DELETE FROM [GRUPY] WHERE [NAZWA]='' OR [NAZWA] is null
alter table Sposob_numeracji ADD COLUMN nag_pw TEXT(50)
alter table Sposob_numeracji_zawart ADD COLUMN nr_pw Long
delete from surowce
delete from magazyn_surowcow
delete from PolPRODUKTY
delete from PolPRODUKTY_receptury
create table [KPIR_KSIEGA] (kpir_id COUNTER ,numer TEXT(50), data DATE,konh_id LONG,konh_nazwa TEXT(60),konh_adres TEXT(60),opis TEXT(60),uwagi TEXT(60),rodzaj loNG,zaksieg TEXT(60),kwota_p Single DEFAULT 0,kwota_z Single DEFAULT 0,kwota_z2 Single DEFAULT 0,kwota_w Single DEFAULT 0,rodzajdok text(30),id_dok long)
create table [KPIR_Okresy] (zm_id COUNTER,rok loNG,miesiac Long,koniec LOGICAL,kwota_p Single DEFAULT 0,kwota_z Single DEFAULT 0,kwota_w Single DEFAULT 0)
create table [SRODKI_TRWALE] (id COUNTER,numer TEXT(20),Symbol TEXT(50),data_n DATE,data_wpr_e DATE,data_zdj_e DATE,wartosc money,umorzenie money,wprowadz TEXT(1),sp_amort TEXT(20),stawka_amort money,ksiega_id loNG,id_prod long, id_dok long)
create table [POJAZDY] (id COUNTER,NR_REJ TEXT(40),Wlasciciel TEXT(40),Marka TEXT(40),Pojemnosc Single DEFAULT 0,ID_kier long ,ID_prac long)
create table [S_POJAZDY_przej] (id_p COUNTER,id_poj loNG,numer TEXT(30),data DATE,Cel TEXT(40),Trasa TEXT(40),ilosc_km Single DEFAULT 0,cena Single DEFAULT 0,id_kpir loNG)
create table [S_TRASY] (id COUNTER,nazwa TEXT(40),kilometry Single DEFAULT 0)
create table [KADRY_PRACOWNICY] (Numer loNG,DataOD Date, Nazwisko TEXT(50),Nazwisko_p TEXT(50),Nazwisko_r TEXT(50),Plec TEXT(1),Imie1 TEXT(50),Imie2 TEXT(50),Imie_oj TEXT(50),Imie_m TEXT(50),miejsce_ur TEXT(50),data_ur DATE,Stan_Cywilny text(1),Narodowosc Text(30),Obywatelstwo Text(30),pesel TEXT(11),NIP TEXT(13),Nr_dow text(15), MiejsceWystDOW Text (50), DataWystDow Date,NrPaszp Text(15),NrPrawaJadzy Text(15),STOSUNK_DO_WOJ text (15),KATEGORIA_WOJ text(15),SPECJALIZACJA_woj text(15),NUMER_DOKUMNETU_WOJ text(15),PRZYDZIAl_MOBIL_woj text(50), ID_WKU long,id_US loNG,ID_WYKSZTALCENIA long,STOPIEN_NAUKOWY text(15),ID_ZAWODU_WYU long, ID_ZAWODU_WYK long,ID_DZIALU_KADROWEGO long,ID_DZIALU_PLACOWEGO long,ID_STANOWISKA Long,WSPCZYNNIK_ZATR Single DEFAULT 0,KATEGORIA_ZASZer long,ID_GRUPY_FU Text(1),ZATR_OD date,ZATRUD_DO date,TRYB_ZWOL text(70),KWOTA_ODSZ_ZA_SOW currency,DNI_EKWIWALENTU_ZA_URLOP long,DNI_WYKORZYSTANEJ_OPIEKI long, NUMER_UMOWY text(25), DATA_ZAWARCIA_UMOWY date,DATA_ROZPOCZECIA_PRACY date,RODZAJ_UMOWY text(15),DATA_UMOWY_OD date,DATA_UMOWY_DO date,SPOSOB_PRZYJECIA text(70),ID_MIEJSCA_WYK_PRACY long,PODSTAWA_ZMIANY_UMOWY text(70),PODSTAWA_DO_STAWKI text(70),PODSTAWA_DO_DODATKU text(70),PODSTAWA_DO_PREMI Text(70),KOMENTARZ_UMOWY text(150),ID_KALENDARZA long,ID_GRUPY_ALGORYTMOW long,ID_BANKU long,PREFIX_KONTA text(20),SUFFIX_KONTA text(40),ID_GRUPY_INW long,DATA_OD_INWAL date,DATA_DO_INWAL date,RODZAJ_RENTY text(15),NR_DECYZJI_RENTY text(15),PRZECIWSKAZANIA_RENTY text(100),SCHORZENIE text (100),ZAZYWANE_LEKI text(100),id counter)
create table [KADRY_ADRESY] (ID_prac long,Rodzaj text(1),Dataod date, [ulica] TEXT(40) ,[dom] TEXT(5) ,[mieszkanie] TEXT(5) , [kodpocztowy] TEXT(6),[miejscowosc] TEXT(40), [wojew] TEXT(40),[gmina] TEXT(40),[powiat] TEXT(40),[poczta] TEXT(40),tel TEXT(40),email text (30))
create table [KADRY_NIEOBECNOSCI] (ID_prac Long, ID_Nieob long, Dataod date, Datado date,DATA_DOST_L4 date,NUMER_L4 text(10),KOD_CHOROBY text(10))
create table [KADRY_DANE_BO] (ID_prac long, id_DK long,DataOD date, Wartosc Single DEFAULT 0,WartoscTXT Text(30))
create table [KADRY_DANE_MIES] (ID_prac long, id_DK long,DataOD date, Wartosc Single DEFAULT 0,WartoscTXT Text(30))
create table [KADRY_DANE_ROK] (ID_prac long, id_DK long,DataOD date, Wartosc Single DEFAULT 0,WartoscTXT Text(30))
create table [KADRY_DK_S] (ID_DK LONG,NAZWA TEXT (30),NAZWAPRN TEXT(30),Okres date,Wartosc Single DEFAULT 0, Rodzaj text(15),SQL1 memo)
create table [S_US] ([id] COUNTER,[nazwa] TEXT(50),[ulica] TEXT(50),[kod] TEXT(6),[miasto] TEXT(50))
create table [S_StawkiKM] ([id] COUNTER,[DataOd] date,[Ponizej900] logical,[Wartosc] Single DEFAULT 0)
create table kierowcy (kier_id counter,kier_nazwa TEXT(50), kier_symbol TEXT (5) ,kier_opis memo )
alter table PRODUKTY ADD COLUMN Naz_w_kasie TEXT(20)
Update PRODUKTY set grupa='Podstawowa' where grupa is null
alter table PRODUKTY ADD COLUMN kosztpojazdu Logical
alter table PRODUKTY ADD COLUMN OdliczVAT Logical
alter table PRODUKTY ADD COLUMN Id_Poj_Domyslny Long
update PRODUKTY set Id_Poj_Domyslny =0 where Id_Poj_Domyslny is null
alter table Zakupy_zawart ADD COLUMN ID_poj Long
update Zakupy_zawart set ID_poj =0 where ID_poj is null
alter table Zakupy_zawart ADD COLUMN id_kpir Long
update Zakupy_zawart set id_kpir =0 where id_kpir is null
alter table Zakupy_zawart ADD COLUMN WtymST Single DEFAULT 0
update Zakupy_zawart set WtymST =0 where WtymST is null
alter table Faktury_Wych ADD COLUMN id_kpir Long
update Faktury_Wych set id_kpir =0 where id_kpir is null
DROP TABLE WYPOSAZENIE
DROP TABLE [KPIR_KSIEGA]
DROP TABLE [KPIR_Okresy]
DROP TABLE [SRODKI_TRWALE]
DROP TABLE [POJAZDY]
DROP TABLE [S_POJAZDY_przej]
DROP TABLE [S_TRASY]
DROP TABLE [KADRY_PRACOWNICY]
DROP TABLE [S_US]
DROP TABLE [S_StawkiKM]
alter table [PRODUKTY] ADD COLUMN [ost_il_kas] Single DEFAULT 0
alter table [PRODUKTY] ADD COLUMN [Nr_w_kasie] text (5)
alter table [KPIR_KSIEGA] ADD COLUMN [id_poj] long
alter table [Ustawienia] ADD COLUMN [id_konh_el] long
alter table [PRODUKTY] ADD COLUMN [Koszt_RiR] Logical
alter table Zakupy_zawart ADD COLUMN [Nie_Ksieguj] Logical
alter table Faktury_Wych_Korekta_zawart ADD COLUMN [Nie_Ksieguj] Logical
alter table [Kontrahenci] ADD COLUMN [LCEN_NAZWA_ID_2] Text(20)
Drop Table [Zamowienia]
Drop Table [PolPRODUKTY_receptury]
Drop Table [PolPRODUKTY]
Drop Table [Surowce]
Drop Table [magazyn_surowcow]
create table [Place_Dane] (IDP long, dataK date,DP text(50),wartosc Single DEFAULT 0,iddd counter)
create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)
alter table [PRODUKTY] ADD COLUMN [Lancz_w] text(80)
Update [PRODUKTY] set [Lancz_w]=PROD_NAZWA_id
alter table [uzytkownicy] ADD COLUMN [Stanowisko] Long
update [uzytkownicy] set [Stanowisko] =1 where [Stanowisko] is null
Update SPRZEDAZ_NEW set rodzdok='R' where rodzdok<>'P'
alter table faktury_wych_zawart ADD COLUMN kpir_id long
alter table faktury_wych_korekta_zawart ADD COLUMN kpir_id long
alter table [CENNIK_LISTA] ADD COLUMN id counter
alter table [CENNIK] ADD COLUMN id counter
Update [zakupy] set [numer_dokumentu]=[numer_zaksiegowania] where [rr]=-1 and [numer_zaksiegowania]<>''
alter table [FORMY_PLATNOSCI] ADD COLUMN [FPLAT_RODZAJ] text(1)
Select [FPLAT_NAZWA_ID], [FPLAT_DNI_ZWLOKI],[FPLAT_RODZAJ] from [FORMY_PLATNOSCI]
alter table [faktury_wych_korekta_zawart] ADD COLUMN WtymST Single DEFAULT 0
update [faktury_wych_korekta_zawart] set WtymST =0 where WtymST is null
alter table [SRODKI_TRWALE] ADD COLUMN [nazwa] text(80)
update [SRODKI_TRWALE] set [nazwa] =' '  where [nazwa] is null
alter table [SRODKI_TRWALE] ADD COLUMN [Z_LISTY] logical
alter table [SRODKI_TRWALE] ADD COLUMN [Rodzaj] text(1)
Update [SRODKI_TRWALE] set [id_prod]=0 where [id_prod] is null
Update [SRODKI_TRWALE] set [id_dok]=0 where [id_dok] is null
Update [SRODKI_TRWALE] set [ksiega_id]=0 where [ksiega_id] is null
Update [SRODKI_TRWALE] set [rodzaj]=' '  where [rodzaj] is null
alter table [Kontrahenci] ADD COLUMN [FPLAT_DNI_ZWLOKI] Long
UPDATE [Kontrahenci] INNER JOIN [FORMY_PLATNOSCI] ON [FORMY_PLATNOSCI].[FPLAT_NAZWA_ID]=[Kontrahenci].[FPLAT_NAZWA_ID] SET [Kontrahenci].[FPLAT_NAZWA_ID]='G', [Kontrahenci].[FPLAT_DNI_ZWLOKI]=[FORMY_PLATNOSCI].[FPLAT_DNI_ZWLOKI] WHERE [FORMY_PLATNOSCI].[FPLAT_RODZAJ]<>'P'
update [Kontrahenci] set [FPLAT_NAZWA_ID] ='Gotówka' where [FPLAT_NAZWA_ID] is null or [FPLAT_NAZWA_ID]=''
update [Kontrahenci] set [konh_ilosc_kopi_f] ='1' where [konh_ilosc_kopi_f] is null or [konh_ilosc_kopi_f]=0
Drop Table [FORMY_PLATNOSCI]
create table [_magazyn_produktow_POM] ([prod_id] Long , ilosc Single DEFAULT 0)
create table [_rejestr_pom] (konh_id Long , data Date , numer Text(255) , wartN Single DEFAULT 0 , wartVAT Single DEFAULT 0 , zwn Single DEFAULT 0 , zwvat Single DEFAULT 0 , zeron Single DEFAULT 0 , zeroVat Single DEFAULT 0 , 7n Single DEFAULT 0 , 7vat Single DEFAULT 0 , 22n Single DEFAULT 0 , 22vat Single DEFAULT 0 , n3 Single DEFAULT 0 , vat3 Single DEFAULT 0 , dok_id Long , dokument Text(255),zaks logical)
DROP table [_magazyn_produktow_POM]
DROP table [_rejestr_pom]
Insert Into [magazyn_produktow] ( [prod_id], ilosc ) SELECT DISTINCTROW PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN [magazyn_produktow] ON PRODUKTY.[prod_id] = [magazyn_produktow].[prod_id] WHERE ((([magazyn_produktow].[prod_id]) Is Null))
Insert Into [SPRZEDAZ_ILOSC] ( [prod_id], ilosc ) SELECT DISTINCTROW PRODUKTY.[prod_id],  0 AS Wyr2 FROM PRODUKTY LEFT JOIN [SPRZEDAZ_ILOSC] ON PRODUKTY.[prod_id] = [SPRZEDAZ_ILOSC].[prod_id] WHERE ((([SPRZEDAZ_ILOSC].[prod_id]) Is Null))
Insert Into [_magazyn_produktow_POM] ( [prod_id], ilosc ) SELECT [magazyn_produktow].[prod_id], Sum([magazyn_produktow].ilosc) AS Sumazilosc From [magazyn_produktow] GROUP BY [magazyn_produktow].[prod_id]
Insert Into [magazyn_produktow] ( [prod_id], ilosc ) SELECT [_magazyn_produktow_POM].[prod_id], [_magazyn_produktow_POM].ilosc FROM [_magazyn_produktow_POM]
Delete from tabela_vat where r_dok='zakupy'
Delete from [_rejestr_pom]
Insert Into [_rejestr_pom]  ( numer, data, konh_id, wartN, wartVAT, dok_id, dokument,zwn ,zeron,[7n] ,[7vat],[22n] ,[22vat] , [n3],[vat3] ) SELECT DISTINCTROW zakupy.numer_zaksiegowania, zakupy.data_zaksiegowania, zakupy.KONH_ID, zakupy.wart_n, zakupy.VAT, zakupy.numer_id, 'zakupy' AS dokdok,0,0,0,0,0,0,0,0 From zakupy WHERE [numer_zaksiegowania]<>''
Update PRODUKTY INNER JOIN ([_rejestr_pom] INNER JOIN zakupy_zawart ON [_rejestr_pom].dok_id = zakupy_zawart.numer_id) ON PRODUKTY.PROD_ID = zakupy_zawart.sur_ID SET [_rejestr_pom].zwn   =[_rejestr_pom].zwn  +(wart_n) where VAT='zw'
alter table [Kontrahenci] ADD COLUMN [ProcentKier] Single DEFAULT 0
alter table [Kontrahenci] ADD COLUMN [NumerWFK] Text(50)
Update [Kontrahenci] set [ProcentKier]=0 where [ProcentKier] is null
drop table ostatnie_wystawienie
ALTER TABLE USTAWIENIA ADD COLUMN sp_drukowanie LOGICAL
create table Produkcja (DDOUT_ID counter, DDOUT_NUMER TEXT(50), KONH_ID Long, DDOUT_DATA_WYST Date, ddout_data_sprz Date, DDOUT_DO_ROZLICZENIA Logical, DDOUT_DEL TEXT(50), DDOUT_WART_N  Single DEFAULT 0, DDOUT_wart_VAT  Single DEFAULT 0, ddout_zaplacona Logical, zapis Logical, rabat  Single DEFAULT 0, fplat_nazwa_id TEXT(50), zbiorczy Logical, ddout_Termin_zaplaty Date, Remanent Logical, b_rabat_n  Single DEFAULT 0, b_rabat_v  Single DEFAULT 0, wart_kp money,rodzdok text(1) null)
create table PRODUKCJA_ZAWARTOSC (SPRZ_ID Long, PROD_ID Long,WSPRZ_ILOSC Single DEFAULT 0,WSPRZ_CENA_B money,WSPRZ_CENA_VAT text(4))
create table [_REMANENTINWENT_ZAWARTOSC123] (ID long , Nazwa text(50) , Ilosc_namagazynie Single DEFAULT 0 , Ilosc_stanfaktyczny Single DEFAULT 0 , Zuzyte Single DEFAULT 0 , Cena Single DEFAULT 0 , Rodz text(1) , p_id long , wlasny byte , mag_prod Single DEFAULT 0 , zak_il Single DEFAULT 0 , sprz_il Single DEFAULT 0 , przych_il Single DEFAULT 0 , rozch_il Single DEFAULT 0)
drop table wlasciciel
drop table ustawienia
alter table [KADRY_Pracownicy] ADD COLUMN [Kier_symbol] Text(5)
ALTER TABLE [KADRY_PRACOWNICY] ADD COLUMN [ETAT] TEXT(6)
drop table [ZAKUPY_KOREKTA]
drop table [ZAKUPY_KOREKTA_ZAWART]
Drop table [_REMANENTINWENT_ZAWARTOSC123]
Delete from [_REMANENTINWENT_ZAWARTOSC123]
Insert Into [_REMANENTINWENT_ZAWARTOSC123] ([ID],[Ilosc_namagazynie],[Ilosc_stanfaktyczny],[sprz_il],[rozch_il]) select [PRODUKTY].[prod_id],0 as wyr1,0 as wyr2,0 as wyr3,0 as wyr4 from [PRODUKTY]
Update [_REMANENTINWENT_ZAWARTOSC123] INNER JOIN SPRZEDAZ_ILOSC ON [_REMANENTINWENT_ZAWARTOSC123].ID = SPRZEDAZ_ILOSC.prod_id SET [_REMANENTINWENT_ZAWARTOSC123].[sprz_il] = [SPRZEDAZ_ILOSC].[ILOSC], [_REMANENTINWENT_ZAWARTOSC123].[rozch_il] = [SPRZEDAZ_ILOSC].[rozch_il]
Update [_REMANENTINWENT_ZAWARTOSC123] set [Ilosc_stanfaktyczny]=[sprz_il]-([Ilosc_namagazynie]-[rozch_il])
Update [_REMANENTINWENT_ZAWARTOSC123] INNER JOIN SPRZEDAZ_ILOSC ON [_REMANENTINWENT_ZAWARTOSC123].ID = SPRZEDAZ_ILOSC.prod_id SET [SPRZEDAZ_ILOSC].[ILOSC]= [_REMANENTINWENT_ZAWARTOSC123].[Ilosc_stanfaktyczny] ,  [SPRZEDAZ_ILOSC].[rozch_il] =[_REMANENTINWENT_ZAWARTOSC123].[Ilosc_namagazynie]
ALTER TABLE [PRODUKCJA_ZAWARTOSC] ADD COLUMN [ilosc_zam] Single DEFAULT 0
create table [_Zamowienia_araport_pomoc] (data Date , [prod_id] Long , ilosc_zam Single DEFAULT 0 , ilosc_prod Single DEFAULT 0 , TRYB Text(50) , ilosc_prod2 Single DEFAULT 0 , ilosc_prod3 Single DEFAULT 0 , ilosc_zam2 Single DEFAULT 0 , ilosc_zam3 Single DEFAULT 0,blok long,wartosc money)
create table [_DO_ZUZYCIA] ([prod_id] Long , ilosc Single DEFAULT 0)
create table [_raport_sprzedazy1] ([prod_id] Long , ilosc Single DEFAULT 0)
create table [_zuzycie_pomoc_1] ([prod_id] Long , ilosc Single DEFAULT 0)
create table [_zuzycie_pomoc_2] ([sur_id] Long , ilosc Single DEFAULT 0)
create table [_zuzycie_pomoc_3] (pprod_nazwa_id long , ilosc Single DEFAULT 0)
create table [_zuzycie_pomoc_4] ([sur_id] Long , ilosc Single DEFAULT 0)
create table [_zuzycie_surowcow_pomoc] ([sur_id] Long , ilosc Single DEFAULT 0)
create table [_KPIR_pomoc2] (produkt TEXT(80),produkt_id long,cena money,kpir_id long,id_sp long,ksiegowalne logical,rodz text(20),iddd counter,ilosc Single DEFAULT 0,W_tym_ST Single DEFAULT 0)
delete from [_Zamowienia_araport_pomoc]
Insert into [_Zamowienia_araport_pomoc] ( data, prod_id, ilosc_zam, ilosc_prod, ilosc_prod2, ilosc_prod3, ilosc_zam2, ilosc_zam3, blok,wartosc ) SELECT ZAMOWIENIA_RAPORT.data, ZAMOWIENIA_RAPORT.prod_id, ZAMOWIENIA_RAPORT.ilosc_zam, ZAMOWIENIA_RAPORT.ilosc_prod, ZAMOWIENIA_RAPORT.ilosc_prod2, ZAMOWIENIA_RAPORT.ilosc_prod3, ZAMOWIENIA_RAPORT.ilosc_zam2, ZAMOWIENIA_RAPORT.ilosc_zam3, ZAMOWIENIA_RAPORT.blok,0 as wart FROM ZAMOWIENIA_RAPORT
Select DISTINCTROW [_Zamowienia_araport_pomoc].data FROM [_Zamowienia_araport_pomoc]
Select [DDOUT_ID],[DDOUT_DATA_WYST] from [PRODUKCJA]
delete from [_DO_ZUZYCIA]
Insert into [_raport_sprzedazy1] ( [prod_id], [ilosc] ) SELECT [_DO_ZUZYCIA].[prod_id], Sum([_DO_ZUZYCIA].[ilosc]) From [_DO_ZUZYCIA] GROUP BY [_DO_ZUZYCIA].[prod_id]
Insert into [_zuzycie_pomoc_1] ( [prod_id], ilosc ) SELECT DISTINCTROW [_raport_sprzedazy1].[prod_id], [_raport_sprzedazy1].[ilosc]/[PRODUKTY].[PROD_WYDAJNOSCzREC]*[PRODUKTY].[PROD_WAGA] AS Wyr1 FROM PRODUKTY INNER JOIN [_raport_sprzedazy1] ON PRODUKTY.[prod_id] = [_raport_sprzedazy1].[prod_id]
Insert into _zuzycie_pomoc_2 ( ilosc, sur_id ) SELECT DISTINCTROW Sum([ilosc_sur]*[ilosc]) AS Wyr1, PRODUKTY_Receptury.sur_id FROM (PRODUKTY INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID) INNER JOIN _zuzycie_pomoc_1 ON PRODUKTY.PROD_ID = [_zuzycie_pomoc_1].prod_id GROUP BY PRODUKTY_Receptury.sur_id, PRODUKTY.act_recipe,PRODUKTY.act_to_rec HAVING (((PRODUKTY_Receptury.sur_id) Is Not Null And (PRODUKTY_Receptury.sur_id)<>0) AND ((PRODUKTY.act_recipe)=-1))
Insert into _zuzycie_pomoc_3 ( ilosc, pprod_nazwa_id ) SELECT DISTINCTROW Sum([PRODUKTY_Receptury].[ilosc_sur]*[ilosc]/[PRODUKTY_1].[PROD_WYDAJNOSCzREC]) AS Wyr1, PRODUKTY_1.PROD_ID FROM ((PRODUKTY INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID) INNER JOIN _zuzycie_pomoc_1 ON PRODUKTY.PROD_ID = [_zuzycie_pomoc_1].prod_id) INNER JOIN PRODUKTY AS PRODUKTY_1 ON PRODUKTY_Receptury.sur_id = PRODUKTY_1.PROD_ID GROUP BY PRODUKTY_1.PROD_ID, PRODUKTY_1.act_recipe, PRODUKTY_1.act_to_rec HAVING (((PRODUKTY_1.PROD_ID) Is Not Null) AND ((PRODUKTY_1.act_recipe)=-1) AND ((PRODUKTY_1.act_to_rec)=-1))
Insert into _zuzycie_pomoc_4 ( sur_id, ilosc ) SELECT DISTINCTROW PRODUKTY_Receptury.SUR_ID, Sum([ilosc_sur]*[ilosc]) AS Wyr1 FROM (_zuzycie_pomoc_3 INNER JOIN PRODUKTY ON [_zuzycie_pomoc_3].pprod_nazwa_id = PRODUKTY.PROD_ID) INNER JOIN PRODUKTY_Receptury ON PRODUKTY.PROD_ID = PRODUKTY_Receptury.PROD_ID GROUP BY PRODUKTY_Receptury.SUR_ID, PRODUKTY.act_recipe,PRODUKTY.act_to_rec HAVING (((PRODUKTY.act_recipe)=-1)AND ((PRODUKTY.act_to_rec)=-1))
Insert into [_zuzycie_pomoc_2] ( [sur_id], ilosc ) SELECT [_zuzycie_pomoc_4].[sur_id], [_zuzycie_pomoc_4].ilosc FROM [_zuzycie_pomoc_4]
Insert into [_zuzycie_surowcow_pomoc] ( [sur_id], ilosc ) SELECT [_zuzycie_pomoc_2].[sur_id], Sum([_zuzycie_pomoc_2].ilosc) AS Sumazilosc From [_zuzycie_pomoc_2] GROUP BY [_zuzycie_pomoc_2].[sur_id]
delete from [_KPIR_pomoc2]
Insert into [_KPIR_pomoc2] ([produkt_id],[cena],[ilosc]) select [sur_id],0 as wyr,0 as wyr1 FROM [_zuzycie_surowcow_pomoc]
Update [_KPIR_pomoc2] SET [_KPIR_pomoc2].cena = [_KPIR_pomoc2].[cena]/[_KPIR_pomoc2].[ilosc] where [_KPIR_pomoc2].[ilosc]<>0
update [uzytkownicy] set [prawa]=null
create table [SRODKI_TRWALE_ZAWART] ([ID] long ,[MIESIAC] long ,[ROK] LONG,[KPiR_ID] LONG,[KWOTA] MONEY)
Update [SRODKI_TRWALE] SET [KWOTA_DO_AMORT]=[wartosc]-[umorzenie] where [KWOTA_DO_AMORT] is null
Update [SRODKI_TRWALE] SET [KWOTA_DO_AMORT]=0 where [sp_amort]='Bez amortyzacji'
Update [SRODKI_TRWALE] SET [KWOTA_ZAMORT]=0 where [KWOTA_ZAMORT] is null
Update [SRODKI_TRWALE] SET [ILOSC_AMORT]=0 where [ILOSC_AMORT] is null
update [Zakupy] SET [RodzDok]=0 where [RR]=0 or [RR] is null
update [Zakupy] SET [RodzDok]=1 where [RR]=-1
Drop table [zakupy_ilosc]
Update [ZAKUPY] SET [f_platnosci]='Gotówka' where [f_platnosci] is null
Update [STANY_MAGAZYNOWE] INNER JOIN [magazyn_produktow] ON [STANY_MAGAZYNOWE].[prod_ID] = [magazyn_produktow].[prod_id] SET [STANY_MAGAZYNOWE].[inwent]= [magazyn_produktow].[ilosc]
Update [STANY_MAGAZYNOWE] INNER JOIN [ZUZYCIE_CALKOWITE] ON [STANY_MAGAZYNOWE].[prod_ID] = [ZUZYCIE_CALKOWITE].[sur_id] SET [STANY_MAGAZYNOWE].[zuzycie]= [ZUZYCIE_CALKOWITE].[ilosc]
Update [STANY_MAGAZYNOWE] set [STANY_MAGAZYNOWE].[RACHUNKI]=0  where [STANY_MAGAZYNOWE].[RACHUNKI]  is null
drop table [raport_zakupow]
drop table [raport_zakupow_POMOC]
drop table [RAPORT_SPRZEDAZY]
Drop table [magazyn_produktow]
Drop table [ZUZYCIE_CALKOWITE]
Drop table [RODZAJ_WYST_DOKUM]
Update [PRODUKCJA_ZAWART_SUROWCE] inner join [produkcja] on [produkcja].[DDOUT_DATA_WYST]=[PRODUKCJA_ZAWART_SUROWCE].[data] set [PRODUKCJA_ZAWART_SUROWCE].[sprz_id] =[PRODUKCJA].[ddout_id]
Update [STANY_MAGAZYNOWE] set [Ilosc]=0,[zakup_il]=0,[przych_il]= 0,[rozch_il]=0,[produkcja]=0,[zuzycie]=0
Update [STANY_MAGAZYNOWE] set [stan]=[inwent]+[zakup_il]+[przych_il]+[produkcja]-[rozch_il]-[ilosc]-[zuzycie]
create table [KASYBANKI] (ID_Kasy counter,nazwa text(50),rodz text(1),Opis memo,Nr_Banku text(20),NR_Konta Text(50),KodPocztowy text(6),Miejscowość Text(30),Ulica Text(40),Telefon Text(50))
create table [Wydruki] (nazwa text(50),rodz long,nr long,tekst memo,Czcionka memo)
create table [Place_Parametry] (id long,dataod date,wartosc currency,wartosc2 currency,wartosc3 currency,wartosc4 currency,wartosc5 currency,wartosc6 currency,wartosc7 currency,wartosc8 currency,wartosc9 currency,wartosc10 currency,idc counter)
drop table [_KPiR_Obrot_1]
update [KP] set [PW]='P' where [PW] is null
update [KP] set [kwota_kw]=0 where [kwota_kw] is null
update [KP] set [KW_id]=0 where [KW_id] is null
INSERT INTO [KP] ([kw_id],[nr_kp],[data],[kwota_kw],[konh_id],[opis],[raport_id],[pozycja],[KB],[Prz],[ID_Kasy],[kwota],[PW]) SELECT [KW].[kp_id], [KW].[nr_kp], [KW].[data], [KW].[kwota], [KW].[konh_id], [KW].[opis], [KW].[raport_id], [KW].[pozycja], [KW].[KB], [KW].[Prz], [KW].[ID_Kasy],0 as kwota,'W' as typ from [KW]
update [Kw_ZAWART] INNER JOIN [KP] ON [Kw_ZAWART].[KP_id] = [KP].[KW_ID] set [KW_ZAWART].[kp_id]= [KP].[KP_ID] WHERE [KP].[KW_ID]<>0
drop table [KW]
drop table [KW_Zawart]
Select [ID_Kasy] FROM [KASYBANKI] where [rodz]='K' order by [ID_Kasy]
update [KPIR_KSIEGA] set [Rodzaj]=1  where [zaksieg]='Sprzedaż' and [konh_id]<>0
update [KPIR_KSIEGA] set [Rodzaj]=11 where [zaksieg]='Sprzedaż' and [konh_id]=0
update [KPIR_KSIEGA] set [Rodzaj]=2  where [zaksieg]='Zakupy'
update [KPIR_KSIEGA] set [Rodzaj]=4  where [kwota_w]<>0
update [KPIR_KSIEGA] set [Rodzaj]=0  where [Rodzaj]<>1 and [Rodzaj]<>11 and [Rodzaj]<>2 and [Rodzaj]<>4
delete from [KPIR_KSIEGA] where [data] is null
drop INDEX [INDid_poj] ON [KPIR_KSIEGA]
update [PRODUKTY] set [act_wew]=-1 where [ACT_SALE]=-1 OR [ACT_buy]=-1
update [DOWODY_ZWROTU] set [Zbiorczy_id]=0 where [Zbiorczy_id] is null
update [DOWODY_DOSTAW] set [Zbiorczy_id]=0 where [Zbiorczy_id] is null
create table [HELP] ([Formatka] LONG, [Tresc] memo,[Countt] counter)
drop table [KONTRAHENT_RODZAJ]
update [KPiR_ksiega] set [Rodzaj]=10 where [Rodzaj]=2
update [KPiR_ksiega] set [Rodzaj]=20 where [Rodzaj]=11
update [KPiR_ksiega] set [Rodzaj]=21 where [Rodzaj]=1
update [KPiR_ksiega] set [Rodzaj]=30 where [Rodzaj]=3
update [KPiR_ksiega] set [Rodzaj]=40 where [Rodzaj]=41
update [KPiR_ksiega] set [Rodzaj]=41 where [Rodzaj]=4
update [KPiR_ksiega] set [Rodzaj]=50 where [Rodzaj]=5
update [KPiR_ksiega] set [Rodzaj]=99 where [Rodzaj]=0
update [K_FAKTUR] set [fkorout_numer]='' where [fkorout_numer]='0'
update [k_FAKTUR] set [fkorout_wart_n]=-[fkorout_wart_n],fkorout_wart_vat=-fkorout_wart_vat,[WART_KP]=-[WART_KP] where ZAKUP=-1
update [k_FAKTUR] INNER JOIN [k_fAKTUR_ZAWART] ON [k_FAKTUR].[FKOROUT_ID]=[k_fAKTUR_ZAWART].[FKOROUT_ID] set [ZFKOROUT_ILOSC]=-[ZFKOROUT_ILOSC],zfkorout_ilosckor=-zfkorout_ilosckor where ZAKUP=-1
drop INDEX [FAKOUT_ID] ON [dowody_dostaw]
drop INDEX [INCOUNTER] ON [siec]
DROP table [siec]
update dowody_dostaw inner join kontrahenci on kontrahenci.konh_id=dowody_dostaw.konh_id set dowody_dostaw.Fplat_nazwa_id=kontrahenci.Fplat_nazwa_id where (dowody_dostaw.Fplat_nazwa_id is null) or (dowody_dostaw.FPLAT_NAZWA_ID<>'Gotówka' and dowody_dostaw.FPLAT_NAZWA_ID<>'Przelew' and dowody_dostaw.FPLAT_NAZWA_ID<>'Gotówka+Przelew' and dowody_dostaw.FPLAT_NAZWA_ID<>'Przelew+Gotówka')
Update FAKTURY inner join kontrahenci on kontrahenci.konh_id=FAKTURY.konh_id set FAKTURY.Fplat_nazwa_id=kontrahenci.Fplat_nazwa_id where (FAKTURY.Fplat_nazwa_id is null) or (FAKTURY.FPLAT_NAZWA_ID<>'Gotówka' and FAKTURY.FPLAT_NAZWA_ID<>'Przelew' and FAKTURY.FPLAT_NAZWA_ID<>'Gotówka+Przelew' and FAKTURY.FPLAT_NAZWA_ID<>'Przelew+Gotówka')
UPDATE K_FAKTUR inner join kontrahenci on kontrahenci.konh_id=K_FAKTUR.konh_id set K_FAKTUR.Fplat_nazwa_id=kontrahenci.Fplat_nazwa_id where (K_FAKTUR.Fplat_nazwa_id is null) or (K_FAKTUR.FPLAT_NAZWA_ID<>'Gotówka' and K_FAKTUR.FPLAT_NAZWA_ID<>'Przelew' and K_FAKTUR.FPLAT_NAZWA_ID<>'Gotówka+Przelew' and K_FAKTUR.FPLAT_NAZWA_ID<>'Przelew+Gotówka')
UPDATE Paragon inner join kontrahenci on kontrahenci.konh_id=Paragon.konh_id set Paragon.Fplat_nazwa_id=kontrahenci.Fplat_nazwa_id where Paragon.Fplat_nazwa_id is null
Update zakupy set f_platnosci='Przelew' where f_platnosci<>'Gotówka' and f_platnosci<>'Przelew' and f_platnosci<>'Gotówka+Przelew' and f_platnosci<>'Przelew+Gotówka'
drop INDEX [nazwisko_uzytkownika] ON [UZYTKOWNICY]
UPDATE CENNIKI_ZAWART INNER JOIN (PRODUKTY INNER JOIN zakupy_zawart ON PRODUKTY.PROD_ID=[zakupy_zawart].[sur_ID]) ON CENNIKI_ZAWART.PROD_ID=[PRODUKTY].[PROD_ID] SET CENNIKI_ZAWART.CEN_Narzut = zakupy_zawart.CENA_N, CENNIKI_ZAWART.CEN_NETTO = zakupy_zawart.CENA_N*(1+CENNIKI_ZAWART.Narzut/100) where [PRODUKTY].[rodzaj]='S' or [PRODUKTY].[rodzaj]='T'
update [faktury] inner join [faktury_ZAWART] on [faktury].[fakout_id]=[faktury_ZAWART].[fakout_id] set [faktury].[id_kpir]=[faktury_ZAWART].[KPIR_id]
update [k_faktur] inner join [k_faktur_ZAWART] on [k_faktur].[fkorout_id]=[k_faktur_ZAWART].[fkorout_id] set [k_faktur].[id_kpir]=[k_faktur_ZAWART].[KPIR_id]
Select [konh_id], [opis],[dla] FROM kp where konh_id=0
update [kp] set [dla]='' where [dla] is null
create table [Usunieto] ([rodzaj] text(50),[nr_dokumentu] TEXT (200), [id_dokumentu] long, [id_kontrahenta] long, [data_dokumentu] date,[data_usuniecia] date, [kto_usunol] TEXT (81))
drop INDEX [SPRZ_ID] ON [dok_wewnentrzne_zawart]
drop INDEX [PROD_ID] ON [dok_wewnentrzne_zawart]
insert into [Usunieto] ([rodzaj],[nr_dokumentu],[id_dokumentu],[id_kontrahenta],[data_dokumentu],[data_usuniecia],[kto_usunol]) select 'Sprzedaż_F_VAT',FAKOUT_DEL,FAKOUT_ID,konh_id,FAKOUT_DATA_WYST,#20-02-2001#,FAKOUT_WYST fROM faktury where FAKOUT_NUMER='' or FAKOUT_NUMER is null
delete faktury_zawart.* from faktury inner join faktury_zawart on faktury.FAKOUT_ID=faktury_zawart.FAKOUT_ID where FAKOUT_NUMER='' or FAKOUT_NUMER is null
delete from faktury where FAKOUT_NUMER='' or FAKOUT_NUMER is null
drop INDEX [indrap_id] ON [PRODUKCJA_ZAWART_SUROWCE]
UPDATE [PRODUKCJA] SET [DDOUT_NUMER]=[DDOUT_ID] WHERE [DDOUT_NUMER]='' OR [DDOUT_NUMER] is null
UPDATE [KP] set [KP].[id_kasy]=1 where [kp].[kb]='K' and ([KP].[id_kasy]=0 or [KP].[id_kasy] is null)
UPDATE [KP] set [KP].[id_kasy]=2 where [kp].[kb]='B' and ([KP].[id_kasy]=0 or [KP].[id_kasy] is null)
drop table [zamowienia_ost]
Drop Table [Zamowienia_raport]
UPDATE [K_FAKTUR_ZAWART] SET [CENA_ORG]=[ZFKOROUT_CENA_N] where zfkorout_tryb='p'
UPDATE [K_FAKTUR_ZAWART] SET [zfkorout_ilosckor]=-[zfkorout_ilosckor] where zfkorout_ilosckor<0 and zfkorout_tryb='n'
UPDATE [K_FAKTUR_ZAWART] SET [CENA_ORG]=0,[ZFKOROUT_ILOSC]=0 where zfkorout_tryb='n'
UPDATE [kontrahenci] SET [id_kasy]=0 where [id_kasy] is null
create table [Deklaracje] ([Nazwa] TEXT (50), [Rok] long, [Miesiac] text(20),[data_wyst] date,[imie] text(30),[nazwisko] text(40),[korekta] logical,[wniosek] logical,[id] counter)
create table [Deklaracje_Zawart] (id long,Typ text(20),wartosc money)
Select tryb from sposob_numeracji
UPDATE [DOWODY_ZWROTU]   set [zam_id]=0 where [zam_id] is null
UPDATE [DOWODY_ZWROTU]   set [zmiany_nr]=0 where [zmiany_nr] is null
create table [DRUKARKI] (ID Counter,Port text(100),Emulacja text(100),Podajnik text(100),StronaKodowa text(100),IleLiniNaStronie Long,SzerokoscStrony Long,Buforowanie Logical,WysunieciePrzed Long,WysunieciePo Long,LewyMargines Long ,WysunPoStronie Logical,LoginName Text(80))
alter table [kontrahenci] ADD COLUMN [nr_konta_kasowego] text(50)
update [zakupy_zawart] inner join [PRODUKTY] on [zakupy_zawart].[sur_id]=[PRODUKTY].[prod_id] set [Zakupy_zawart].[kosztpojazdu_Z]=[PRODUKTY].[kosztpojazdu]
update [k_faktur_zawart] inner join [PRODUKTY] on [k_faktur_zawart].[PROD_ID]=[PRODUKTY].[prod_id] set [k_faktur_zawart].[Id_Poj]=[PRODUKTY].[Id_Poj_Domyslny]
alter table [RAPORT_KASOWY] ADD COLUMN [OPEN_BY] text(50)
alter table [RAPORT_KASOWY] ADD COLUMN [SALDO] MONEY
alter table PRODUKTY ADD COLUMN [Grupa_w_zestawieniu] text (50)
UPDATE [PRODUKTY] set [Grupa_w_zestawieniu]=[grupa]
alter table PRODUKTY ADD COLUMN [Nie_pokazuj_w_zestawieniu] logical
alter table [DEKLARACJE] ADD COLUMN [Data] date
Select Rok,Miesiac,Data FROM [DEKLARACJE]
update [dok_dd]  set [DDOUT_DATA_WYST]=format(DDOUT_DATA_WYST,'dd-MM-yyyy')
create table [place_opisy] (pole long,OPIS text(255),SKR text(255),iddd counter)
create table [place_Listy] (IDListy counter,Numer text(50),OPIS text(255),DataK date,DataP date,KosztPr money,ID_Kpir long)
Drop table [Place_Dane]
alter TABLE [Place_Dane] ADD COLUMN [DP] text(50)
alter TABLE [Deklaracje] ADD COLUMN [data_wpl] date
alter TABLE [Place_Dane] ADD COLUMN [pole] long
Update [place_dane] set [pole]=14 where [dp]='Netto_Zal'
Update [place_dane] set [pole]=9000 where [dp]='PODATEK_KoUP' and [wartosc]=0
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (0,'Płaca zasadnicza','Płaca zas.')
alter table [Place_Dane] ADD COLUMN IDListy long
update [Place_Dane] set [wartosc]=-[wartosc] where [wartosc]<0 and [pole]=12
Select [IDP],[dataK],[wartosc],[IDListy] from [place_dane]
UPDATE [place_listy] set [KosztPr]=0
UPDATE [place_listy] inner join [Place_dane] on [place_listy].[IDListy]=[Place_dane].[IDListy] set [place_listy].[KosztPr]=[place_listy].[KosztPr]+[Place_dane].[Wartosc] where [Place_dane].[Pole]=12
drop INDEX indDataOD ON KADRY_PRACOWNICY
Select * into [_Place_dane] from [Place_Dane]
alter table [Place_Dane] ADD COLUMN Owartosc7000 byte
delete from [Place_Dane] where [pole]<>0
update [Place_Dane] set [Place_Dane].Owartosc7000=0
update [Place_Dane] inner join [_Place_Dane] on [Place_Dane].idp=[_Place_Dane].idp set [Place_Dane].owartosc7000= [_Place_Dane].[wartosc] where [_Place_Dane].[pole]=7000 and [Place_Dane].idlisty=[_Place_Dane].idlisty
drop table [_Place_Dane]
alter table [Place_Listy] ADD COLUMN [ZUSSKł] money
drop table [KADRY_DANE_BO]
drop table [KADRY_DANE_MIES]
drop table [KADRY_DANE_ROK]
drop table [KADRY_DK_S]
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (117,'Konto','Konto')
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (118,'Procent Konto','Procent Konto')
update [Place_listy] inner join [KPIR_Ksiega] on [Place_listy].[kosztPr]=[KPIR_Ksiega].[kwota_w] set [id_kpir]=[kpir_id]
alter table  [dok_zak_zawart] ADD COLUMN [Opis] text(255)
alter table  [produkty] ADD COLUMN [Dom_Konto] text(40)
delete DOK_PRO_zawart.* from DOK_PRO_zawart LEFT JOIN PRODUKTY ON DOK_PRO_zawart.PROD_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
delete from setup where nazwa is null
update setup set Users='' where Users is null
update setup set Stan='' where Stan is null
DELETE  FROM tabela_vat where r_dok='Zak_prod' or r_dok='Zak_sur' or r_dok='Zak_koszty' or r_dok='nie_koszty'
DELETE  FROM [place_opisy] where [pole]>118
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (119,'Św. rehabilitacyjne z ubezp.wypadkowego','Św.reh.z ub.wyp.')
alter table  [produkty] ADD COLUMN [Cena_Z_Kalk] money
alter table  [produkty] ADD COLUMN [Roboczogodziny] Single DEFAULT 0
alter table  [produkty] ADD COLUMN [IL_opak] Single DEFAULT 0
alter table  [produkty_receptury] ADD COLUMN [CenaKalk] money
update [Place_Dane] set [Place_Dane].[wartosc135]=[Place_Dane].[wartosc19]
Select * into [DOK_KZA] from [DOK_KFA] WHERE [DOK_KFA].ZAKUP=-1
Select [DOK_KFA_ZAWART].* into [DOK_KZA_ZAWART] FROM [DOK_KFA_ZAWART] INNER JOIN [DOK_KFA] ON [DOK_KFA_ZAWART].[FKOROUT_ID]=[DOK_KFA].[FKOROUT_ID] WHERE [DOK_KFA].ZAKUP=-1
DELETE [DOK_KFA_ZAWART].* FROM [DOK_KFA_ZAWART] INNER JOIN [DOK_KFA] ON [DOK_KFA_ZAWART].[FKOROUT_ID]=[DOK_KFA].[FKOROUT_ID] WHERE [DOK_KFA].ZAKUP=-1
DELETE FROM [DOK_KFA] WHERE [DOK_KFA].ZAKUP=-1
Select * into [DOK_PZ] from [DOK_DZ] WHERE [DOK_DZ].ZAKUP=-1
Select [DOK_DZ_ZAWART].* INTO [DOK_PZ_ZAWART] FROM [DOK_DZ_ZAWART] INNER JOIN [DOK_DZ] ON [DOK_DZ_ZAWART].[DDOUT_ID]=[DOK_DZ].[DDOUT_ID] WHERE [DOK_DZ].ZAKUP=-1
DELETE [DOK_DZ_ZAWART].* FROM [DOK_DZ_ZAWART] INNER JOIN [DOK_DZ] ON [DOK_DZ_ZAWART].[DDOUT_ID]=[DOK_DZ].[DDOUT_ID] WHERE [DOK_DZ].ZAKUP=-1
DELETE FROM [DOK_DZ] WHERE [DOK_DZ].ZAKUP=-1
Select * into [DOK_WZ] from [DOK_DD] WHERE [DOK_DD].ZAKUP=-1
Select [DOK_DD_ZAWART].* INTO [DOK_WZ_ZAWART] FROM [DOK_DD_ZAWART] INNER JOIN [DOK_DD] ON [DOK_DD_ZAWART].[DDOUT_ID]=[DOK_DD].[DDOUT_ID] WHERE [DOK_DD].ZAKUP=-1
DELETE [DOK_DD_ZAWART].* FROM [DOK_DD_ZAWART] INNER JOIN [DOK_DD] ON [DOK_DD_ZAWART].[DDOUT_ID]=[DOK_DD].[DDOUT_ID] WHERE [DOK_DD].ZAKUP=-1
DELETE FROM [DOK_DD] WHERE [DOK_DD].ZAKUP=-1
Select * into [DOK_PW] from [DOK_RW] WHERE [DOK_RW].[rodzdok]='P'
Select [DOK_RW_ZAWART].* INTO [DOK_PW_ZAWART] FROM [DOK_RW_ZAWART] INNER JOIN [DOK_RW] ON [DOK_RW_ZAWART].[DDOUT_ID]=[DOK_RW].[DDOUT_ID] WHERE [DOK_RW].[rodzdok]='P'
DELETE [DOK_RW_ZAWART].* FROM [DOK_RW_ZAWART] INNER JOIN [DOK_RW] ON [DOK_RW_ZAWART].[DDOUT_ID]=[DOK_RW].[DDOUT_ID] WHERE [DOK_RW].[rodzdok]='P'
DELETE FROM [DOK_RW] WHERE [DOK_RW].[rodzdok]='P'
UPDATE [NUMERY_OST_DOK] SET [rodzaj_dok]='Sprzedaż_F_VAT_korekta' WHERE [rodzaj_dok]='faktura_korekta'
UPDATE [NUMERY_OST_DOK] SET [rodzaj_dok]='Zakupy_korekta' WHERE [rodzaj_dok]='fakturaZak_korekta'
UPDATE [NUMERY_OST_DOK_NAG] SET [DOKUMENT]='Sprzedaż_F_VAT_korekta' WHERE [DOKUMENT]='faktura_korekta'
UPDATE [NUMERY_OST_DOK_NAG] SET [DOKUMENT]='Zakupy_korekta' WHERE [DOKUMENT]='fakturaZak_korekta'
DELETE FROM [NUMERY_OST_DOK_NAG] WHERE [DOKUMENT]='rachunek zbiorczy'
DELETE FROM [NUMERY_OST_DOK_NAG] WHERE [DOKUMENT]='faktura zbiorcza'
alter table dok_fin ADD COLUMN eksportowano logical
alter table dok_fin ADD COLUMN zawrtosc_exp memo
alter table dok_fin ADD COLUMN nazwa_pliku text(20)
drop index Podstawowy on SPOSOB_NUMERACJI_ZAWART
alter table dok_fra ADD COLUMN ROK LONG
Select [raport_nr],rok from [dok_fra]
Select [Nazwa] from [Setup]
create table [KALENDARZ] ([Data] date,[Typ] long,[iddd] counter)
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (145,'Za pranie','Za pranie')
alter table [Place_Dane] ADD COLUMN Owartosc6000 byte
alter table [Place_Listy] ADD COLUMN CZY_FP LOGICAL
alter table [Place_Listy] ADD COLUMN  CZY_FGSP LOGICAL
alter table [DOK_DD] ADD COLUMN Id_KorFak long
alter table [DOK_KFA] ADD COLUMN Zbiorcza LOGICAL
alter table [Place_Listy] ADD COLUMN ID_KPIRZ LONG
update [Place_Listy] set id_kpirZ=0 where id_kpirZ is null
drop index Podstawowy on DOK_KFA_ZAWART
alter table [DOK_KFA] ADD COLUMN wart_dd money
alter table [DOK_KZA] ADD COLUMN wart_dd money
UPDATE DOK_KFA set wart_kp=0 where zbiorcza=-1
UPDATE DOK_KFA set wart_dd=0
UPDATE DOK_KZA set wart_dd=0
UPDATE DOK_FIN_ZAWART INNER JOIN DOK_KFA ON DOK_FIN_ZAWART.dok_id = DOK_KFA.FKOROUT_ID SET DOK_KFA.wart_kp = [DOK_KFA].[wart_kp]-[DOK_FIN_ZAWART].[kwota] WHERE (DOK_KFA.zbiorcza=-1 and ((DOK_FIN_ZAWART.rodzaj_dok)='Korekta'))
UPDATE DOK_DZ INNER JOIN DOK_KFA ON DOK_DZ.Id_KorFak = DOK_KFA.FKOROUT_ID SET DOK_KFA.wart_dd = [DOK_KFA].[wart_dd]-[DOK_DZ].[wart_kp] where DOK_KFA.zbiorcza=-1 and DOK_DZ.KorFak=-1
UPDATE DOK_KFA SET DOK_KFA.b_rabat_n = [DOK_KFA].[fkorout_wart_n], DOK_KFA.b_rabat_v = [DOK_KFA].[b_rabat_v] Where (((DOK_KFA.Zbiorcza)=-1) And ((DOK_KFA.fkorout_rabat) = 0))
create table [ZAMOWIENIA_KOMENTARZE] (Data date,konh_id long,TEKST memo,[iddd] counter)
alter table [DOK_KFA] ADD COLUMN rabat_caly money
alter table [DOK_KZA] ADD COLUMN rabat_caly money
UPDATE DOK_KFA set rabat_caly=0 where rabat_caly is null
UPDATE DOK_KZA set rabat_caly=0 where rabat_caly is null
DELETE  FROM DOK_FAK_ZAWART where ZFAKOUT_ILOSC=0
CREATE UNIQUE INDEX UnicNumer ON DOK_FAK (FAKOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_DD  (DDOUT_NUMER)
drop table [TAB_NOWA_DOK]
drop table [TAB_NOWA_FZB]
drop table [Numery_OST_DOK]
update uzytkownicy set prawa =''
alter table [DOK_FAK] ADD COLUMN Komentarz memo
alter table [DOK_PAR] ADD COLUMN Komentarz memo
alter table [DOK_RW] ADD COLUMN Komentarz memo
alter table [DOK_DD] ADD COLUMN Komentarz memo
UPDATE tabela_vat INNER JOIN TABELA_VAT AS tabela_vat_1 ON tabela_vat.id = tabela_vat_1.id SET tabela_vat.r_dok = 'sprzedaż_f_vat_U' WHERE (((tabela_vat.r_dok)='sprzedaż_f_vat_zbiorcze') AND ((tabela_vat_1.r_dok)='sprzedaż_f_vat') AND ((tabela_vat.Countt)<[tabela_vat_1].[Countt]))
UPDATE tabela_vat INNER JOIN TABELA_VAT AS tabela_vat_1 ON tabela_vat.id = tabela_vat_1.id SET tabela_vat.r_dok = 'sprzedaż_f_vat_UU' WHERE (((tabela_vat.r_dok)='sprzedaż_f_vat') AND ((tabela_vat_1.r_dok)='sprzedaż_f_vat_zbiorcze') AND ((tabela_vat.Countt)<[tabela_vat_1].[Countt]))
UPDATE tabela_vat SET r_dok='sprzedaż_f_vat' WHERE r_dok='sprzedaż_f_vat_zbiorcze'
update dok_fak as t1 inner join dok_fak as t2 on t1.FAKOUT_NUMER=t2.FAKOUT_NUMER set t1.FAKOUT_NUMER=t1.FAKOUT_NUMER+'N' where t1.FAKOUT_ID>t2.FAKOUT_ID
update dok_Kfa as t1 inner join dok_Kfa as t2 on t1.fkorout_numer=t2.fkorout_numer set t1.fkorout_numer=t1.fkorout_numer+'N' where t1.FKOROUT_ID>t2.FKOROUT_ID
update dok_KZa as t1 inner join dok_KZa as t2 on t1.fkorout_numer=t2.fkorout_numer set t1.fkorout_numer=t1.fkorout_numer+'N' where t1.FKOROUT_ID>t2.FKOROUT_ID
update dok_ZaK as t1 inner join dok_ZaK as t2 on t1.numer_zaksiegowania=t2.numer_zaksiegowania set t1.numer_zaksiegowania=t1.numer_zaksiegowania+'N' where t1.numer_id>t2.numer_id
CREATE UNIQUE INDEX UnicNumer ON DOK_DZ  (DDOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_KFA (fkorout_numer)
CREATE UNIQUE INDEX UnicNumer ON DOK_PAR (DDOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_PW  (DDOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_RW  (DDOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_ZAK (numer_zaksiegowania)
CREATE UNIQUE INDEX UnicNumer ON DOK_KZA (fkorout_numer)
CREATE UNIQUE INDEX UnicNumer ON DOK_WZ  (DDOUT_NUMER)
CREATE UNIQUE INDEX UnicNumer ON DOK_PZ  (DDOUT_NUMER)
Update [UZYTKOWNICY] set [prawa]=''
Update [Drukarki] set [Active]=-1
Update [Drukarki] set [Stanowisko]=0
Update [Drukarki] inner join [UZYTKOWNICY] on [Drukarki].[loginname]=[UZYTKOWNICY].[nazwisko_uzytkownika] set [Drukarki].[Stanowisko]=[UZYTKOWNICY].[Stanowisko]
Delete from [Drukarki] where [Stanowisko]=0
Select [KopiaOrginal],[LoginName] from [Drukarki]
Update [Drukarki] set [MnoznikStron]=1
UPDATE [PRODUKTY] set [Szt_w_opak]=1
Drop table [SPOSOB_NUMERACJI_ZAWART]
Delete DOK_PRO_zawart.* from DOK_PRO_zawart LEFT JOIN PRODUKTY ON DOK_PRO_zawart.PROD_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
Delete DOK_PRO_zawart_SUROWCE.* from DOK_PRO_zawart_SUROWCE LEFT JOIN PRODUKTY ON DOK_PRO_zawart_SUROWCE.PROD_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
Delete DOK_PRO_zawart_SUROWCE.* from DOK_PRO_zawart_SUROWCE LEFT JOIN PRODUKTY ON DOK_PRO_zawart_SUROWCE.SUR_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
Update [KADRY_PRACOWNICY] set etat='1  1  ' where etat is null
Update [KADRY_PRACOWNICY] set kodZus='011000' where kodzus is null
create table [PLACE_SWIADCZ_PRZERWY] (IDListy Long,  ID_prac Long, DataK Date, DataP Date, ID_Nieob long, Dataod date, Datado date, Ilosc long, Procent long, Id_Kadry_nieob long,kwota currency,Countt counter)
delete DOK_PRO_zawart_SUROWCE.* from DOK_PRO_zawart_SUROWCE LEFT JOIN PRODUKTY ON DOK_PRO_zawart_SUROWCE.PROD_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
delete DOK_PRO_zawart_SUROWCE.* from DOK_PRO_zawart_SUROWCE LEFT JOIN PRODUKTY ON DOK_PRO_zawart_SUROWCE.SUR_ID=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL
Update PRODUKTY set prod_kod=mid(prod_nazwa_id,1,6) where prod_kod='' or prod_kod is null
Select prod_numer_id from PRODUKTY order by prod_numer_id
UPDATE PRODUKTY set Lancz_w=PROD_NAZWA_id  where Lancz_w is null
UPDATE PRODUKTY set PROD_WAGA=1  where PROD_WAGA is null
UPDATE PRODUKTY set PROD_WYDAJNOSCzREC=1  where PROD_WYDAJNOSCzREC is null
UPDATE PRODUKTY set Id_Poj_Domyslny=0  where Id_Poj_Domyslny is null
drop table [KADRY_ADRESY]
UPDATE PRODUKTY set [Lancz_w_DD]=[Lancz_w]  where Lancz_w_DD is null
UPDATE [CENNIKI_ZAWART] inner join [produkty] on [CENNIKI_ZAWART].[prod_id]=[produkty].[prod_id] set [CENNIKI_ZAWART].[Cen_Brutto]=[CENNIKI_ZAWART].[CEN_Narzut]*1.22 where STVAT_ID='22' and [CENNIKI_ZAWART].[Cen_Brutto] is null
UPDATE KADRY_PRACOWNICY set UBE=0  where UBE is null
drop table [KADRY_UMOWY]
create table [KADRY_UMOWY] ([ID_prac] long,[RodzajUm] text(1), [Dataod] date,[Datado] date, [numer] text(10),[Stanowisko] text(3),[Dział] text(3),[etat] text(6),[RodzajStawki] text(1),[StawkaG] currency,[StawkaM] currency,[Dodatek] currency,[ProcentP] currency, [Countt] counter)
UPDATE dok_fra set Closed=-1  ,Open_by=''
UPDATE DEKLARACJE set Wart_KP=0  where Wart_KP is null
UPDATE PLACE_DANE set Wart_KP=0  where Wart_KP is null
drop index Podstawowy ON DOK_rei_ZAWART
update [dok_fin] inner join [kontrahenci] on [dok_fin].[konh_id]=[kontrahenci].[konh_id] set [dok_fin].[NR_KONTA_Fk]=[kontrahenci].[nr_konta_kasowego]
drop table tabela_vat
update S_JEDNOSTKI set Do_Jednostki=JED_NAZWA_ID
update S_JEDNOSTKI set JED_WAGAwKG=1 where JED_WAGAwKG<=0 or JED_WAGAwKG is null
update [PRODUKTY_RECEPTURY] inner join [Produkty] on [PRODUKTY_RECEPTURY].[Sur_id]=[Produkty].[prod_id] set [PRODUKTY_RECEPTURY].[Jednostka_Receptury]=[Produkty].[prod_jed]
create table [KADRY_UMOWYC] ([ID_prac] long,[RodzajUm] text(1), [Dataod] date,[Datado] date, [numer] text(10),[tresc] text(255), [Countt] counter)
UPDATE KONTRAHENCI set KONTRAHENCI.KONH_PLATNIK =-1 where KONTRAHENCI.KONH_PLATNIK =0 And KONTRAHENCI.KONH_naz_skrot = KONTRAHENCI.KONH_PLATNIK_KTO
Update DOK_FRA SET DOK_FRA.[kwota_kp] = 0, DOK_FRA.[kwota_kw] = 0,DOK_FRA.[Saldo] = 0 , DOK_FRA.[Bilans] = 0
Update DOK_FRA INNER JOIN [DOK_FIN] ON DOK_FRA.[raport_id] = [DOK_FIN].[raport_id] SET DOK_FRA.[kwota_kp] = DOK_FRA.[kwota_kp]+[DOK_FIN].[kwota], DOK_FRA.[kwota_kw] = DOK_FRA.[kwota_kw]+[DOK_FIN].[kwota_kw],DOK_FRA.[Bilans] = DOK_FRA.[Bilans]+[DOK_FIN].[kwota]-[DOK_FIN].[kwota_kw]
Update KASYBANKI set Saldo=0
Update KASYBANKI INNER JOIN [DOK_Fra] ON KASYBANKI.[id_kasy] = [DOK_fra].[id_kasy] SET KASYBANKI.[Saldo] = KASYBANKI.[Saldo]+[DOK_fra].[Bilans]
UPDATE [DOK_PAR] set DDOUT_WART_N=n22+n7+n3+n0+nZW, DDOUT_wart_VAT=vat22+vat7+vat3 where vat3<>0 or n3<>0
create table [KADRY_PODATEK] ([ID_prac] long, [Dataod] date,[KOSZT] text(1),[ULGA] text(1),[prog] text(1), [Countt] counter)
create table [Platnik] (IDP counter,nazwisko text(50),imie text(50))
create table [Platnik_Dane] (IDP long,[Nazwa] TEXT (255), [Wartosc] memo)
alter table [Deklaracje] add IDP long
create table [KADRY_OPCJE]([ID_prac] long, [Dataod] date, [ZAS_WYCH] int,  [IL_ZAS_PIEL] currency, [PROCENT_K] currency, [KWOTA_K] currency,[PODST_URL] byte,[PODST_ZAS] byte, [countt] counter)
UPDATE [DOK_RW_ZAWART] set WSPRZ_CENA_BRUTTO=WSPRZ_CENA_B*1.03,WSPRZ_WARTOSC_BRUTTO=WSPRZ_CENA_B*1.03*WSPRZ_ILOSC where WSPRZ_CENA_VAT='3' and WSPRZ_CENA_BRUTTO is null
UPDATE DOK_FAK SET vat7=0,vat22=0,n7=0,n22=0,n0=0,nzw=0,VAT3=0,N3=0 WHERE DOK_FAK.FAKOUT_WART_N = 0
SELECT * INTO [KADRY_WARUNKI] FROM [KADRY_UMOWY]
Update [KADRY_UMOWY] set Data_rozp=dataod where Data_rozp is null
Update [KADRY_UMOWY] set Data_um=dataod where Data_um is null
Update [KADRY_UMOWY] set Miejsce_wyk='' where Miejsce_wyk is null
Update [KADRY_UMOWY] set Skroc_wyp='' where Skroc_wyp is null
Update [KADRY_UMOWY] set Zwolnienie=0 where Zwolnienie is null
Update [KADRY_UMOWY] set Ekwiwalent=0 where Ekwiwalent is null
Update [KADRY_WARUNKI] set ID_UMOWY= COUNTT where ID_UMOWY is null
Update [KADRY_WARUNKI] set Inne_war='' where Inne_war is null
delete from STANY_MAGAZYNOWE where prod_id=0
Update [SRODKI_TRWALE] set WSPOLCZYNNIK=1
Update [DOK_FIN] set kierowca_id=0
Update [Kontrahenci] set kier_id2=0,kier_id3=0
delete PLACE_SWIADCZ_PRZERWY.* from PLACE_SWIADCZ_PRZERWY LEFT JOIN PLACE_LISTY ON PLACE_SWIADCZ_PRZERWY.IDListy=PLACE_LISTY.IDListy WHERE PLACE_LISTY.IDListy IS NULL
Update [KADRY_UMOWYC] set kwota=0 where kwota is Null
Update [KADRY_UMOWYC] set rata=0 where rata is Null
Update [KADRY_UMOWYC] set Termin='' where Termin is Null
Update [KADRY_UMOWYC] set Post_szcz='' where Post_szcz is Null
Update [KADRY_UMOWYC] set Data_um=Dataod where Data_um is Null
UPDATE dok_fak set wart_dd=wart_dd+0.01 where FAKOUT_ZBIORCZA=-1 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd >-0.03 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd<0.03 and wart_dd<>0 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd>0
UPDATE dok_fak set wart_dd=wart_dd-0.01 where FAKOUT_ZBIORCZA=-1 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd >-0.03 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd<0.03 and wart_dd<>0 and FAKOUT_WART_N+FAKOUT_WART_VAT-wart_kp-wart_dd<0
UPDATE dok_zak set wart_kp=wart_kp+0.01 where Zbiorcza=-1 and WART_N+VAT-wart_kp>-0.03 and WART_N+VAT-wart_kp<0.03 and wart_kp<>0 and WART_N+VAT-wart_kp>0
UPDATE dok_zak set wart_kp=wart_kp-0.01 where Zbiorcza=-1 and WART_N+VAT-wart_kp>-0.03 and WART_N+VAT-wart_kp<0.03 and wart_kp<>0 and WART_N+VAT-wart_kp<0
Update [KADRY_PRACOWNICY] set Dowod='' where Dowod is Null
Update [KADRY_PRACOWNICY] set Paszport='' where Paszport is Null
Update [KADRY_PRACOWNICY] set Obywatelstwo='' where Obywatelstwo is Null
Update [KADRY_PRACOWNICY] set Bank='' where Bank is Null
Update [KADRY_PRACOWNICY] set Konto='' where Konto is Null
Update [KADRY_PRACOWNICY] set US=0 where US is Null
Update [KADRY_PRACOWNICY] set KartaStP=0 where KartaStP is Null
Update [KADRY_PRACOWNICY] set KartaCzP=0 where KartaCzP is Null
Select FAKOUT_NR_DD,b_rabat_n+b_rabat_v,FAKOUT_NUMER,b_rabat_n,b_rabat_v,fakout_id  from DOK_FAK where FAKOUT_ZBIORCZA=-1 order by FAKOUT_ID desc
Select FAKOUT_NR_DD,FAKOUT_NUMER,FAKOUT_id,konh_id,FAKOUT_DATA_WYST from DOK_FAK where FAKOUT_ZBIORCZA=-1  order by FAKOUT_ID desc
alter table [DOK_PW] ADD COLUMN Komentarz memo
create table [Stany_magazynowe_zawart] (Lp counter,IDProd long,IdDok long,RodzDok text(255),NumerDok text(255), DataDok date,Ilosc Single DEFAULT 0, Cena currency,Wartosc currency,IloscNar Single DEFAULT 0,WartoscNar currency,Zostalo Single DEFAULT 0,ZostaloTMP Single DEFAULT 0,Konh_id long,CenaORG currency,WartoscORG currency)
UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='PW' WHERE [rodzaj_dok]='Sp. pozost.zwr.'
UPDATE [DOK_FIN_ZAWART] SET [rodzaj_dok]='RW' WHERE [rodzaj_dok]='Sp. pozost.'
UPDATE [kontrahenci] SET [FPLAT_NAZWA_ID]='Przelew' WHERE [FPLAT_NAZWA_ID]='P'
UPDATE [kontrahenci] SET [FPLAT_NAZWA_ID]='Gotówka' WHERE [FPLAT_NAZWA_ID]<>'Przelew'
UPDATE [dok_fak] SET [FPLAT_NAZWA_ID]='Przelew' WHERE [FPLAT_NAZWA_ID]='P'
UPDATE [dok_fak] SET [FPLAT_NAZWA_ID]='Gotówka' WHERE [FPLAT_NAZWA_ID]='G'
UPDATE [dok_zak] SET [f_platnosci]='Przelew' WHERE [f_platnosci]='P'
Alter table zamowienia_szablon ADD COLUMN ilosc4 Single DEFAULT 0
UPDATE zamowienia_szablon set ilosc4=0 where ilosc4 is null
Create table Zamowienia_Przekierowania (Kurs int DEFAULT 0,Zmiana int DEFAULT 0)
DELETE  FROM Zamowienia_Przekierowania
Select Kurs,Zmiana from Zamowienia_Przekierowania
UPDATE [dok_pro_zawart] SET [ilosc_ZAM] =[ILOSC_PROD]
UPDATE [dok_pro_zawart] SET [ilosc_ZAM2]=[ILOSC_PROD2]
UPDATE [dok_pro_zawart] SET [ilosc_ZAM3]=[ILOSC_PROD3]
CREATE TABLE [DOK_PRO_SUROWCE] (ddout_id int DEFAULT 0,sur_id int DEFAULT 0,Ilosc Single DEFAULT 0,Wartosc money DEFAULT 0)
INSERT INTO [DOK_PRO_SUROWCE] ([DDOUT_ID],[sur_ID],[Ilosc],[Wartosc]) select  [DDOUT_ID],[sur_ID],SUM([Ilosc]),SUM([Wartosc]) FROM [DOK_PRO_ZAWART_SUROWCE] GROUP BY [DOK_PRO_ZAWART_SUROWCE].[DDOUT_ID],[DOK_PRO_ZAWART_SUROWCE].[SUR_ID]
CREATE TABLE [KADRY_NADGODZINY] (COUNTT int identity, ID_PRAC int DEFAULT 0,data SmallDateTime DEFAULT null,NADL50 money DEFAULT 0, NADL100 money DEFAULT 0,NOCNE money DEFAULT 0,NADLNOCNE money DEFAULT 0)
Update [PLACE_OPISY] set [opis] = 'Deputat',[skr] = 'Deputat' where [pole] = 157
CREATE TABLE [DOK_DUPLIKATY] (duplikat_id int identity, ID_dok int DEFAULT 0,data_wyst SmallDateTime DEFAULT null, rodz Text (20),WYST Text (81),drukowano Logical)
alter table [KALENDARZ] add column Godziny money DEFAULT 0
Update [KALENDARZ] set [Godziny] = 8 where [typ] = 0
drop index Podstawowy ON KADRY_OPCJE
drop index Podstawowy ON KADRY_PODATEK
drop index Podstawowy ON KADRY_RODZINA
drop index Podstawowy ON KADRY_UMOWY
drop index Podstawowy ON KADRY_UMOWYC
drop index Podstawowy ON PLACE_SWIADCZ_PRZERWY
CREATE TABLE [S_KALENDARZE] (ID_KAL int identity, NAZWA Text (20), OPIS Text (50))
alter table [KALENDARZ] ADD COLUMN ID_KAL int DEFAULT 0
INSERT INTO [S_KALENDARZE] (ID_KAL,NAZWA,OPIS) values (1,'Kalendarz','Podstawowy')
Update [KALENDARZ] set ID_KAL = 1 where ID_KAL is NULL
CREATE TABLE [S_GRUPYP] (ID_GRUPY int identity, NAZWA Text (20), OPIS Text (50))
INSERT INTO [S_GRUPYP] (ID_GRUPY,NAZWA,OPIS) values (1,'Wszyscy','Wszyscy pracownicy')
alter table [KADRY_OPCJE] ADD COLUMN ID_GRUPY int DEFAULT 0
alter table [KADRY_OPCJE] ADD COLUMN ID_KAL int DEFAULT 0
Update [KADRY_OPCJE] set ID_GRUPY = 1 where ID_GRUPY is NULL
Update [KADRY_OPCJE] set ID_KAL = 1 where ID_KAL is NULL
CREATE TABLE [PRODUKTY_KOSZTY] (KOSZT_ID int identity,NAZWA Text (255),KWOTA money DEFAULT 0,TYP int DEFAULT 0,POBRANE Logical)
alter table [OKRESY_ROZLICZEN] drop column [tydzien]
alter table [OKRESY_ROZLICZEN] drop column [dzien1]
alter table [PRODUKTY_KOSZTY] ADD COLUMN data SmallDateTime DEFAULT null
alter table [PRODUKTY_KALKULACJA] ADD COLUMN Ilosc_wypr money DEFAULT 0
alter table [PRODUKTY_KALKULACJA] ADD COLUMN Koszty_na_rec money DEFAULT 0
alter table [KADRY_UMOWY] drop column [Stanowisko]
alter table [KADRY_UMOWY] drop column [Dział]
alter table [KADRY_UMOWY] drop column [Etat]
alter table [KADRY_UMOWY] ADD COLUMN ImięR Text (20)
alter table [KADRY_UMOWY] ADD COLUMN NazwiskoR Text (20)
alter table [KADRY_UMOWY] ADD COLUMN data SmallDateTime DEFAULT null
alter table [DOK_REI] ADD COLUMN Konh_id int DEFAULT 0
update [DOK_REI] set Konh_id=0 where Konh_id is null
Update [place_opisy] set OPIS = 'Ilość dni bez umowy', SKR='Il.dni b.um.' where POLE = 72
UPDATE DOK_KFA_ZAWART INNER JOIN DOK_KFA_ZAWART AS DOK_KFA_ZAWART_1 ON DOK_KFA_ZAWART.FKOROUT_ID = DOK_KFA_ZAWART_1.FKOROUT_ID SET    DOK_KFA_ZAWART.zfkorout_tryb='n',DOK_KFA_ZAWART.ZFKOROUT_ILOSC=0    WHERE (((DOK_KFA_ZAWART.PROD_ID)=[DOK_KFA_ZAWART_1].[PROD_ID]) AND ((DOK_KFA_ZAWART.COUNTT)<[DOK_KFA_ZAWART_1].[countt]) AND ((DOK_KFA_ZAWART.zfkorout_tryb)='p') AND ((DOK_KFA_ZAWART_1.zfkorout_tryb)='p'))
DROP TABLE [KADRY_NIEOBECNOSCI_S]
insert into [kontrahenci] (KONH_NAZ_SKROT,KONH_NAZWA,KONH_ulica,konh_kodpocztowy,KONH_miejscowosc,RKONH_NAZWA_ID,konh_numer,konh_activ) select mid(nazwa,1,16)        ,nazwa     ,ulica     ,Kod             , miasto,        'US',999999,-1 from S_US
insert into [kontrahenci] (KONH_NAZ_SKROT,KONH_NAZWA,RKONH_NAZWA_ID,opis     ,konh_numer,konh_activ,Kier_id) select kier_symbol   ,kier_nazwa,'Kierowca'    ,Kier_opis,999999    ,-1        ,-1 from S_Kierowcy
insert into [kontrahenci] (KONH_NAZ_SKROT,KONH_NAZWA,KONH_NAZWA2,RKONH_NAZWA_ID,konh_numer,konh_activ,imie_oj,imie_m,miejsce_ur,Plec,numer_prac,imie2,kategoria,ube,ubr,ubc,ubw,ubz,nazwisko_p,kodzus,Dowod,Paszport,KartaStP,KartaCzP,Etat,Konh_US_id,Konh_DataUR, KONH_NAZ_BANK, KONH_NR_KONTA) select mid(Nazwisko,1,8)+mid(Imie1,1,8),Nazwisko,Imie1,'Pracownik',999999 ,-1,imie_oj,imie_m,miejsce_ur,Plec,numer,imie2,kategoria,ube,ubr,ubc,ubw,ubz,nazwisko_p,kodzus,Dowod,Paszport,KartaStP,KartaCzP,Etat,US ,Data_UR ,BANK, KONTO from KADRY_PRACOWNICY
insert into [kontrahenci] (KONH_NAZ_SKROT,KONH_NAZWA,RKONH_NAZWA_ID,konh_numer,konh_activ) select DISTINCTROW mid(Dla,1,16) ,Dla       ,'!!!'         ,999999    ,-1 from DOk_FIN group by Dla,Konh_id Having Konh_id=0
insert into [kontrahenci] (KONH_NAZ_SKROT,KONH_NAZWA,Opis,RKONH_NAZWA_ID,konh_numer,konh_activ,rodz,konh_naz_bank,konh_nr_konta,konh_kodpocztowy,KONH_ulica,KONH_TEL,KONH_miejscowosc,Saldo,nr_konta_kasowego) select mid(nazwa,1,16) ,nazwa   ,Opis,'!!!'         ,999999    ,-1        ,rodz,Nr_Banku,     NR_Konta,    KodPocztowy,      Ulica,Telefon,      MIEJSCOWOSC,Saldo,NRWFK  from KASYBANKI
UPDATE KONTRAHENCI INNER JOIN (KADRY_PRACOWNICY INNER JOIN S_US ON KADRY_PRACOWNICY.US = S_US.id) ON KONTRAHENCI.KONH_NAZWA = S_US.nazwa set KADRY_PRACOWNICY.US=KONTRAHENCI.konh_id where KONTRAHENCI.RKONH_NAZWA_ID='US'
alter table [DOk_FIN] ADD COLUMN NIEZALEZNE tinyint DEFAULT 0
UPDATE KONTRAHENCI INNER JOIN DOK_FIN ON KONTRAHENCI.KONH_NAZWA = DOK_FIN.Dla set DOK_FIN.Konh_id=KONTRAHENCI.konh_id,DOk_FIN.NIEZALEZNE=2,DOk_FIN.dla='' where KONTRAHENCI.RKONH_NAZWA_ID='!!!' and DOK_FIN.konh_id=0
UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Pozostali' where RKONH_NAZWA_ID='!!!'
UPDATE DOk_FIN Set DOk_FIN.NIEZALEZNE=1 where DOk_FIN.Dla='Niezależne'
UPDATE KONTRAHENCI INNER JOIN (DOK_FIN as PPP INNER JOIN KASYBANKI ON PPP.ID_KASY = KASYBANKI.id_kasy) ON KONTRAHENCI.KONH_Nazwa = KASYBANKI.nazwa set PPP.ID_KASY=KONTRAHENCI.konh_id where KONTRAHENCI.RKONH_NAZWA_ID='!!!'
UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Kasa' where RKONH_NAZWA_ID='!!!' and RODZ='K'
UPDATE KONTRAHENCI Set RKONH_NAZWA_ID='Bank' where RKONH_NAZWA_ID='!!!' and RODZ='B'
alter table [Deklaracje] ADD COLUMN ID_US int DEFAULT 0
alter table [DOK_FRA] ADD COLUMN DataKasyBanku SmallDateTime DEFAULT null
UPDATE KONTRAHENCI as Kier INNER JOIN (KONTRAHENCI as kontr INNER JOIN S_Kierowcy ON kontr.Kier_id  = S_Kierowcy.Kier_id) ON Kier.KONH_NAZWA = S_Kierowcy.kier_nazwa set kontr.Kier_id =Kier.konh_id where Kier.RKONH_NAZWA_ID='Kierowca'
UPDATE KONTRAHENCI as Kier INNER JOIN (KONTRAHENCI as kontr INNER JOIN S_Kierowcy ON kontr.Kier_id2 = S_Kierowcy.Kier_id) ON Kier.KONH_NAZWA = S_Kierowcy.kier_nazwa set kontr.Kier_id2=Kier.konh_id where Kier.RKONH_NAZWA_ID='Kierowca'
UPDATE KONTRAHENCI as Kier INNER JOIN (DOK_FAK as dok INNER JOIN S_Kierowcy ON dok.Kier_id = S_Kierowcy.Kier_id) ON Kier.KONH_NAZWA = S_Kierowcy.kier_nazwa set dok.Kier_id=Kier.konh_id where Kier.RKONH_NAZWA_ID='Kierowca'
UPDATE KONTRAHENCI INNER JOIN (KADRY_ADRESY as PPP INNER JOIN KADRY_PRACOWNICY ON PPP.ID_prac = KADRY_PRACOWNICY.id) ON KONTRAHENCI.numer_prac = KADRY_PRACOWNICY.Numer set PPP.ID_PRAC=KONTRAHENCI.konh_id where KONTRAHENCI.RKONH_NAZWA_ID='Pracownik'
Select [konh_numer] from [kontrahenci] order by [konh_numer]
Select top 1 t1.konh_naz_skrot,t1.konh_id from kontrahenci as t1 inner join kontrahenci as t2 on t1.konh_naz_skrot=t2.konh_naz_skrot where t1.konh_id<>t2.konh_id
drop table DOK_PFA
drop table DOK_PFA_Zawart
SELECT DOK_Dz.* INTO DOK_PFA FROM DOK_Dz
SELECT DOK_Dz_ZAWART.* INTO DOK_PFA_ZAWART FROM DOK_Dz_ZAWART
Delete * from DOK_PFA
Delete * from  DOK_PFA_ZAWART
alter table DOK_PFA ADD COLUMN Rodz_Dok  Text (50)
CREATE UNIQUE INDEX UnicNumer ON DOK_PFA  (DDOUT_NUMER)
alter table Sposob_numeracji ADD COLUMN nag_pfa Text (50)
alter table [UZYTKOWNICY] ADD COLUMN [PrawaK] Text (255)
Update [UZYTKOWNICY] set [prawaK]='',[prawaP]='',[prawaF]=''
drop table DOK_ZPF
drop table DOK_ZPF_ZAWART
SELECT DOK_PFA.* INTO DOK_ZPF FROM DOK_PFA
SELECT DOK_PFA_ZAWART.* INTO DOK_ZPF_ZAWART FROM DOK_PFA_ZAWART
Delete * from DOK_ZPF
Delete * from  DOK_ZPF_ZAWART
alter table DOK_ZPF ADD COLUMN Rodz_Dok  Text (50)
CREATE UNIQUE INDEX UnicNumer ON DOK_ZPF  (DDOUT_NUMER)
UPDATE DOK_FRA SET DOK_FRA.[kwota_kp] = 0, DOK_FRA.[kwota_kw] = 0,DOK_FRA.[Saldo] = 0 , DOK_FRA.[Bilans] = 0
UPDATE DOK_FRA INNER JOIN [DOK_FIN] ON DOK_FRA.[raport_id] = [DOK_FIN].[raport_id] SET DOK_FRA.[kwota_kp] = DOK_FRA.[kwota_kp]+[DOK_FIN].[kwota], DOK_FRA.[kwota_kw] = DOK_FRA.[kwota_kw]+[DOK_FIN].[kwota_kw],DOK_FRA.[Bilans] = DOK_FRA.[Bilans]+[DOK_FIN].[kwota]-[DOK_FIN].[kwota_kw]
UPDATE kontrahenci set Saldo=0 where rkonh_nazwa_id='Kasa' or rkonh_nazwa_id='Bank'
UPDATE kontrahenci INNER JOIN [DOK_Fra] ON kontrahenci.[Konh_id] = [DOK_fra].[id_kasy] SET kontrahenci.[Saldo] = kontrahenci.[Saldo]+[DOK_fra].[Bilans] where kontrahenci.rkonh_nazwa_id='Kasa' or kontrahenci.rkonh_nazwa_id='Bank'
alter table [DOK_PFA] drop COLUMN  [Rodz_Dok]
alter table [DOK_ZPF] drop COLUMN  [Rodz_Dok]
alter table [DOK_ZPF] drop COLUMN  [RodzDok]
UPDATE dok_fin set nr_kp='' where nr_kp is null
UPDATE kontrahenci set konh_kodpocztowy='' where konh_kodpocztowy is null
UPDATE [uzytkownicy] SET [Haslo]='mokrwĘ' where ucase([nazwisko_uzytkownika])='ADMINISTRATOR'
Select Dataod,KOSZT,ULGA,prog,ID_prac from KADRY_PODATEK
UPDATE DOK_FIN set Wart_Rozl=0
UPDATE DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+[Dok_fin_zawart].[kwota]
UPDATE Deklaracje set Deklaracje.[kwota]=0 where mid(deklaracje.Nazwa,1,4)='Pit4'
UPDATE Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set Deklaracje.[kwota]= deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole69' and mid(deklaracje.Nazwa,1,4)='Pit4'
UPDATE Deklaracje set Deklaracje.[kwota]=0 where mid(deklaracje.Nazwa,1,4)='Vat7'
UPDATE Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set Deklaracje.[kwota]= deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole57' and mid(deklaracje.Nazwa,1,4)='Vat7' and deklaracje_zawart.[wartosc]<>'0' and deklaracje_zawart.[wartosc]<>'0,00'
UPDATE Deklaracje inner join [deklaracje_zawart] on Deklaracje.id=[deklaracje_zawart].id set Deklaracje.[kwota]=-deklaracje_zawart.[wartosc] where deklaracje_zawart.Typ='pole61' and mid(deklaracje.Nazwa,1,4)='Vat7' and deklaracje_zawart.[wartosc]<>'0' and deklaracje_zawart.[wartosc]<>'0,00'
UPDATE Deklaracje inner join kontrahenci on Deklaracje.IDP=kontrahenci.konh_id set Deklaracje.[id_us]=kontrahenci.Konh_US_id where Deklaracje.IDP<>0
create table [KADRY_PIT_ZAWART] (id long,Typ text(20),wartosc text(50),wartosc2 text(50),Countt Counter)
UPDATE KONTRAHENCI INNER JOIN (PLACE_SWIADCZ_PRZERWY as PPP INNER JOIN KADRY_PRACOWNICY ON PPP.ID_prac = KADRY_PRACOWNICY.id) ON KONTRAHENCI.numer_prac = KADRY_PRACOWNICY.Numer set PPP.ID_PRAC=KONTRAHENCI.konh_id where KONTRAHENCI.RKONH_NAZWA_ID='Pracownik'
ALTER TABLE [kadry_warunki] ADD COLUMN [StawkaD] currency
UPDATE [dok_zak_zawart] set [Ilosc_Mag]=[ILOSC] where [Ilosc_Mag]=0 or [Ilosc_Mag] is null
UPDATE [dok_zak_zawart] set [Wsp_Przel]=1 where [Wsp_Przel]=0 or [Wsp_Przel] is null
UPDATE [dok_zak_zawart] set [Sp_Przel]='Brak' where [Sp_Przel]='' or [Sp_Przel] is null
UPDATE [dok_zak_zawart] inner join  [produkty] on [produkty].[PROD_ID]=[dok_zak_zawart].[sur_ID] set [Nazwa_Asort]=[produkty].[PROD_NAZWA_id] where [Nazwa_Asort]='' or [Nazwa_Asort] is null
Create table PRODUKTY_WSP_PRZEL (prod_id Long,Sp_Przel text(20),Wsp_Przel currency,id counter)
alter table  [dok_pro] drop column  [Remanent]
alter table PRODUKTY ADD COLUMN [id_GRProd] int DEFAULT 0
alter table  [dok_DD] ADD COLUMN [id_GRProd] int DEFAULT 0
alter table  [sposob_numeracji] ADD COLUMN [nag_pro] text(50)
alter table  [dok_PW_Zawart] ADD COLUMN [ZDDOUT_CENA_N] money DEFAULT 0
update [dok_PW_Zawart] set [ZDDOUT_CENA_N]=[WSPRZ_CENA_B],[ZDDOUT_ILOSC]=[WSPRZ_ILOSC],[ZDDOUT_VAT]=[WSPRZ_CENA_VAT]
update [dok_PRO_Zawart] set [ZDDOUT_CENA_N]=[WSPRZ_CENA_B],[ZDDOUT_ILOSC]=[ilosc_prod]+[ilosc_prod2]+[ilosc_prod3],[ZDDOUT_VAT]=0
alter table  [dok_PW] ADD COLUMN [Opis] Text (255)
drop table DOK_DAR
drop table DOK_DAR_Zawart
SELECT DOK_Dz.* INTO DOK_DAR FROM DOK_Dz
SELECT DOK_Dz_ZAWART.* INTO DOK_DAR_ZAWART FROM DOK_Dz_ZAWART
Delete * from DOK_DAR
Delete * from  DOK_DAR_ZAWART
CREATE UNIQUE INDEX UnicNumer ON DOK_DAR (DDOUT_NUMER)
alter table  [dok_pro] ADD COLUMN KONH_ID int DEFAULT 0
alter table  [dok_pro] ADD COLUMN [n22] money DEFAULT 0
Create table [S_Grupy_Produkcyjne] (id_GRProd int identity,Grupa_w_Zam Text (50))
insert into [S_Grupy_Produkcyjne] (id_GRProd,Grupa_w_Zam) values (0,'Wszystkie')
alter table  [dok_DD] ADD COLUMN [nr_zM_PROD] int DEFAULT 0
DROP TABLE [Platnik]
DROP TABLE [Platnik_Dane]
DROP TABLE [S_KIEROWCY]
DROP table [KASYBANKI]
alter table  [sposob_numeracji] ADD COLUMN [nag_prs] text(50)
SELECT DOK_PRO_ZAWART_SUROWCE.* INTO DOK_PRS_ZAWART_ROZBICIE FROM DOK_PRO_ZAWART_SUROWCE
delete DOK_PRO_surowce.* from  DOK_PRO_surowce where ilosc=0
UPDATE DOK_PRO_surowce set wartosc=wartosc/ilosc
delete DOK_PRO_ZAWART.* from  DOK_PRO_ZAWART where ilosc_prod+ilosc_prod2+ilosc_prod3=0
UPDATE DOK_PRO_ZAWART set ZDDOUT_CENA_N=ZDDOUT_CENA_N/(ilosc_prod+ilosc_prod2+ilosc_prod3)
drop table DOK_PRS_ZAWART_ROZBICIE
delete DOK_PRS_ZAWART_ROZBICIE.* from  DOK_PRS_ZAWART_ROZBICIE where ilosc=0
UPDATE DOK_PRS_ZAWART_ROZBICIE set wartosc=wartosc/ilosc
UPDATE DOK_PRO set ddout_Termin_zaplaty=DDOUT_DATA_WYST
UPDATE DOK_PRO_Zawart INNER JOIN DOK_PRO ON DOK_PRO_Zawart.ddout_id = DOK_PRO.DDOUT_ID SET DOK_PRO_Zawart.ZDDOUT_ILOSC = ilosc_prod ,[ZDDOUT_CENA_N]=[ZDDOUT_CENA_N]*([ilosc_prod] /([ilosc_prod]+[ilosc_prod2]+[ilosc_prod3]))  WHERE ((([nr_zM_PROD])=1)) and [ilosc_prod]+[ilosc_prod2]+[ilosc_prod3]<>0
UPDATE DOK_PRS_ZAWART_ROZBICIE INNER JOIN DOK_PRO_Zawart ON (DOK_PRO_Zawart.PROD_ID = DOK_PRS_ZAWART_ROZBICIE.Prod_id) AND (DOK_PRS_ZAWART_ROZBICIE.ddout_id = DOK_PRO_Zawart.ddout_id)  SET DOK_PRS_ZAWART_ROZBICIE.Ilosc = DOK_PRS_ZAWART_ROZBICIE.Ilosc*([DOK_PRO_Zawart].[ZDDOUT_ILOSC]/([DOK_PRO_Zawart].[ilosc_prod]+[DOK_PRO_Zawart].[ilosc_prod2]+[DOK_PRO_Zawart].[ilosc_prod3])),DOK_PRS_ZAWART_ROZBICIE.wartosc =DOK_PRS_ZAWART_ROZBICIE.wartosc* ([DOK_PRO_Zawart].[ZDDOUT_ILOSC]/([DOK_PRO_Zawart].[ilosc_prod]+[DOK_PRO_Zawart].[ilosc_prod2]+[DOK_PRO_Zawart].[ilosc_prod3])) where ([DOK_PRO_Zawart].[ilosc_prod]+[DOK_PRO_Zawart].[ilosc_prod2]+[DOK_PRO_Zawart].[ilosc_prod3])<>0
delete DOK_PRO_zawart.* from DOK_PRO_Zawart where ZDDOUT_ILOSC=0
delete DOK_PRS_ZAWART_ROZBICIE.* from DOK_PRS_ZAWART_ROZBICIE where Ilosc=0
delete DOK_PRO_SUROWCE.* from DOK_PRO_SUROWCE where Ilosc=0
delete DOK_PRO.* from DOK_PRO left join DOK_PRO_Zawart on DOK_PRO.ddout_id=DOK_PRO_Zawart.ddout_id where DOK_PRO_Zawart.ddout_id is null
update [dok_pro] set konh_id=0,[DDOUT_NUMER]='ssTT' & VAL(DDOUT_ID),num_ndok=0
drop table DOK_PRS
drop table DOK_PRS_Zawart
SELECT DOK_PRO.* INTO DOK_PRS FROM DOK_PRO where nr_zM_PROD=1
SELECT DOK_PRO_ZAWART.* INTO DOK_PRS_ZAWART FROM DOK_PRO_ZAWART
CREATE UNIQUE INDEX UnicNumer ON DOK_PRS (DDOUT_NUMER)
Delete * from DOK_PRS_ZAWART
insert into [DOK_PRS_zawart] (ddout_id,prod_id,ZDDOUT_ILOSC,ZDDOUT_CENA_N) select ddout_id,sur_id,sum(Ilosc),sum(Wartosc) from DOK_PRS_ZAWART_ROZBICIE group by  ddout_id,sur_id
UPDATE DOK_PRO SET DOK_PRO.ID_Poszlo_do_zuzycia=ddout_id
UPDATE DOK_PRs SET DOK_PRs.ID_Poszlo_do_zuzycia=ddout_id
drop table DOK_PZS
drop table DOK_PZS_Zawart
SELECT DOK_PRO.* INTO DOK_PZS FROM DOK_PRO
SELECT DOK_PRO_ZAWART.* INTO DOK_PZS_ZAWART FROM DOK_PRO_ZAWART
CREATE UNIQUE INDEX UnicNumer ON DOK_PZS (DDOUT_NUMER)
Delete * from DOK_PZS
Delete * from DOK_PZS_ZAWART
UPDATE [DOK_PRO] set DDOUT_WART_N=0
UPDATE [DOK_PRO] inner join [DOK_PRO_ZAWART] on [DOK_PRO].[ddout_id]=[DOK_PRO_ZAWART].[DDOUT_ID] set DOK_PRO.DDOUT_WART_N=DOK_PRO.DDOUT_WART_N+ZDDOUT_ILOSC*ZDDOUT_CENA_N
UPDATE [DOK_PRs] set DDOUT_WART_N=0
UPDATE [DOK_PRs] inner join [DOK_PRs_ZAWART] on [DOK_PRs].[ddout_id]=[DOK_PRs_ZAWART].[DDOUT_ID] set DOK_PRs.DDOUT_WART_N=DOK_PRs.DDOUT_WART_N+ZDDOUT_ILOSC*ZDDOUT_CENA_N
UPDATE [DOK_Pzs] set DDOUT_WART_N=0
UPDATE [DOK_Pzs] inner join [DOK_Pzs_ZAWART] on [DOK_Pzs].[ddout_id]=[DOK_Pzs_ZAWART].[DDOUT_ID] set DDOUT_WART_N=DDOUT_WART_N+ZDDOUT_ILOSC*ZDDOUT_CENA_N
Create table [S_Grupy_Kontrahentow] (id_GRKonh int identity,Grupa_Konh Text (50))
insert into [S_Grupy_Kontrahentow] (id_GRKonh,Grupa_Konh) values (0,'Podstawowa')
alter table  [produkty] ADD COLUMN [WspProd] Single DEFAULT 0
alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [id_GrProdPod] int DEFAULT 0
alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [Zuzycie] Logical
update [S_GRUPY_PRODUKCYJNE] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null
alter table PRODUKTY ADD COLUMN [id_GrProdPod] int DEFAULT 0
update [PRODUKTY] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null
alter table  [dok_DD] ADD COLUMN [id_GrProdPod] int DEFAULT 0
update [dok_DD] set [id_GrProdPod]=[id_GrProd] where [id_GrProdPod] is null
alter table [Kontrahenci] ADD COLUMN [ID_GR_KONH]  int DEFAULT 0
UPDATE dok_fin_zawart set dok_fin_zawart.kwota=-dok_fin_zawart.kwota where dok_fin_zawart.kwota<0
UPDATE dok_fin set kwota=-kwota where kwota<0
UPDATE dok_fin set kwota_Kw=-kwota_KW where kwota_KW<0
drop INDEX d1 ON KONTRAHENCI
UPDATE DOk_FIN Set DOk_FIN.NIEZALEZNE=0
UPDATE DOk_FIN left join dok_fin_zawart on DOk_FIN.kp_id=dok_fin_zawart.kp_id Set DOk_FIN.NIEZALEZNE=1 where dok_fin_zawart.kp_id is null or dok_fin_zawart.kp_id=0
alter table  [dok_DD] ADD COLUMN [Nr_Wyjazdu] int DEFAULT 0
update [dok_DD] set [Nr_Wyjazdu]=1 where [Nr_Wyjazdu] is null
create index indnr_konta_kasowego ON KONTRAHENCI (nr_konta_kasowego)
create index Kasa ON KONTRAHENCI  (RKONH_NAZWA_ID,id_kasy,Rodz)
alter table kontrahenci ADD COLUMN Grup_Asort_Wydr Logical
DROP TABLE [KH_KONTA]
DROP TABLE [KH_DEKRETY]
CREATE TABLE [KH_DEKRETY] (COUNTT int identity, ID_DOK int DEFAULT 0,  NR_K_1 Text (3),NR_K_2 Text (6),NR_K_3 Text (6),NR_K_4 Text (6), KWOTA_WN money DEFAULT 0, KWOTA_MA money DEFAULT 0, OPIS Text (25), STATUS Text (1), ROK int DEFAULT 0, MIESIAC  int DEFAULT 0)
DROP TABLE [KH_SCHEMATY]
CREATE TABLE [KH_SCHEMATY] (COUNTT int identity, SYMBOL_SCH Text (3), NAZWA_SCH Text (40), ROK int DEFAULT 0)
DROP TABLE [KH_SCHEMATY_ZAWART]
CREATE TABLE [KH_SCHEMATY_ZAWART] (COUNTT int identity, SYMBOL_SCH Text (3), POLE Text (40), KONTO Text (15), STRONA Text (2), TRESC Text (60))
alter table [KADRY_PIT] ADD COLUMN [Drukowano] Logical
Delete KH_KSIEGA.* from KH_KSIEGA
alter table [DOK_ZAK] ADD COLUMN [id_kpir] int DEFAULT 0
alter table [DOK_fra] ADD COLUMN [id_kpir] int DEFAULT 0
alter table [KH_KONTA] ADD COLUMN [Konh_id] int DEFAULT 0
alter table [KH_ScHEMATY] ADD COLUMN [Opis] Text (255)
alter table [KH_Dekrety] ADD COLUMN [Opis] Text (255)
UPDATE KH_KONTA set KH_KONTA.WN_00=0,KH_KONTA.MA_00=0
UPDATE KH_KONTA inner join kh_dekrety on (KH_KONTA.NR_K_1=kh_dekrety.NR_K_1) and (KH_KONTA.NR_K_2=kh_dekrety.NR_K_2) and (KH_KONTA.NR_K_3=kh_dekrety.NR_K_3) and (KH_KONTA.NR_K_4=kh_dekrety.NR_K_4) and (kh_konta.ROK=kh_dekrety.rok) set KH_KONTA.WN_00=KWOTA_WN,KH_KONTA.MA_00=KWOTA_MA Where kh_dekrety.miesiac=0
alter table [KH_Dekrety] ADD COLUMN [kpir_id] int DEFAULT 0
alter table [KH_Dekrety] ADD COLUMN [Konh_id] int DEFAULT 0
Create table [KADRY_SZKOLENIA] (COUNTT int identity,ID_PRAC int DEFAULT 0,DATA SmallDateTime DEFAULT null,DATA_N SmallDateTime DEFAULT null,RODZAJ Text (20),KATEGORIA Text (80))
Create table [KADRY_BADANIA] (COUNTT int identity,ID_PRAC int DEFAULT 0,DATA SmallDateTime DEFAULT null,DATA_N SmallDateTime DEFAULT null,DATA_OD SmallDateTime DEFAULT null,DATA_DO SmallDateTime DEFAULT null,RODZAJ Text (20),STANOWISKO Text (20),ORZECZENIE Text (80))
alter table  [dok_REI_Zawart] ADD COLUMN [id_GRProd] int DEFAULT 0
alter table  [STANY_MAGAZYNOWE] ADD COLUMN [id_GRProd] int DEFAULT 0
alter table  [STANY_MAGAZYNOWE_Zawart] ADD COLUMN [id_GRProd] int DEFAULT 0
alter table  [Dok_Fin] ADD COLUMN [wart_fin] money DEFAULT 0
alter table  [Produkty] ADD COLUMN [Id_GrupaZwrotow] int DEFAULT 0
Create table [S_Grupy_Zwrotow] (Id_GrupaZwrotow int identity,Nazwa Text (50),ProcentPrzetw money DEFAULT 0, id_produktu int DEFAULT 0)
Select top 1 * into [DOK_PRZ] from [DOK_DZ]
Delete * from [DOK_PRZ]
Select top 1 * into [DOK_PRZ_ZAWART] from [DOK_DZ_ZAWART]
Delete * from [DOK_PRZ_ZAWART]
Select top 1 * into [DOK_PRZ_ZAWART_PRO] from [DOK_DZ_ZAWART]
Delete * from [DOK_PRZ_ZAWART_PRO]
Select top 1 * into [DOK_MMZ] from [DOK_DZ]
Delete * from [DOK_MMZ]
Select top 1 * into [DOK_MMZ_ZAWART] from [DOK_DZ_ZAWART]
Delete * from [DOK_MMZ_ZAWART]
alter table  [STANY_MAGAZYNOWE] ADD COLUMN [MZ_ILE_ZWROTOW] Single DEFAULT 0, [MZ_ILE_WYSZLO] Single DEFAULT 0, [MZ_STAN] Single DEFAULT 0
alter table  [sposob_numeracji] ADD COLUMN [nag_mmz] text(50)
alter table  [sposob_numeracji] ADD COLUMN [nag_PRZ] text(50)
Select  rodzaj_dok,dok_id,kwota,kp_id from dok_fin_zawart where rodzaj_dok='Korekta' order by dok_id desc
Select  rodzaj_dok,dok_id,kwota,kp_id from dok_fin_zawart where rodzaj_dok='Korekta Zak -' order by dok_id desc
UPDATE DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]+[Dok_fin_zawart].[kwota] where [Dok_fin_zawart].[kwota]>0
UPDATE DOK_FIN inner join [Dok_fin_zawart] on DOK_FIN.[kp_id]=[Dok_fin_zawart].[kp_id] set DOK_FIN.[wart_Rozl]=DOK_FIN.[wart_Rozl]-[Dok_fin_zawart].[kwota] where [Dok_fin_zawart].[kwota]<0
alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [Cena_Z] money DEFAULT 0
update [S_GRUPY_PRODUKCYJNE] set [Cena_Z]=0 where [Cena_Z] is null
alter table  [S_GRUPY_PRODUKCYJNE] ADD COLUMN [W_KG] Logical
Select top 1 * into [DOK_MMA] from [DOK_DZ]
Delete * from [DOK_MMA]
Select top 1 * into [DOK_MMA_ZAWART] from [DOK_DZ_ZAWART]
Delete * from [DOK_MMA_ZAWART]
Select top 1 * into [DOK_MMA_ZAWART_PRO] from [DOK_DZ_ZAWART]
Delete * from [DOK_MMA_ZAWART_PRO]
alter table  [sposob_numeracji] ADD COLUMN [nag_mma] text(50)
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (172,'Nadpłata podatku','Nadpł.pod.')
alter table [KADRY_PIT] ADD COLUMN [NIP3I] Text (1)
alter table [KADRY_PIT] ADD COLUMN [NIP3A] Text (1)
alter table [KADRY_PIT] ADD COLUMN [DATA_ZWR] SmallDateTime DEFAULT null
alter table [KADRY_PIT] ADD COLUMN [DATA_POBR] SmallDateTime DEFAULT null
alter table s_grupy_zwrotow ADD COLUMN [CenaMag] money DEFAULT 0
alter table S_GRUPY_PRODUKCYJNE ADD COLUMN [sm_id] int DEFAULT 0
alter table SPOSOB_NUMERACJI ADD COLUMN [nag_mma] Text (50)
alter table [DOK_KFA] ADD COLUMN [Stara_Kor] Logical
alter table [DOK_KZA] ADD COLUMN [Stara_Kor] Logical
update [DOK_KFA] set Stara_Kor=-1
update [DOK_KZA] set Stara_Kor=-1
alter table [KADRY_SWIADECTWA] ADD COLUMN [sposob] Text (20)
alter table [PRODUKTY] ADD COLUMN [DataRob] SmallDateTime DEFAULT null
alter table [dok_rei] ADD COLUMN [JestWartosc] Logical
Select [Data],ID_RI,JestWartosc from [DOK_REI] order by [data] desc
alter table [dok_rei] ADD COLUMN [id_GRProd] int DEFAULT 0
alter table [dok_rei] ADD COLUMN [Asortyment] Text (1)
Select [DataRob],CenaRob,prod_id from [PRODUKTY] where DataRob is null order by prod_id desc
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (175,'Stawka umowy zlecenia','Stawka umowy')
UPDATE [PLACE_DANE] set [wartosc175]=[wartosc46] where [wartosc175]=0 or [wartosc175] is null
UPDATE [PLACE_DANE] set [wartosc176]=[wartosc94] where [wartosc176]=0 or [wartosc176] is null
UPDATE [PLACE_DANE] set [wartosc177]=[wartosc96] where [wartosc177]=0 or [wartosc177] is null
UPDATE [PLACE_DANE] set [wartosc178]=[wartosc138] where [wartosc178]=0 or [wartosc178] is null
UPDATE [PLACE_DANE] set [wartosc179]=[wartosc46]-[wartosc140]-[wartosc142]-[wartosc143]-[wartosc138]-[wartosc94] where [wartosc179]=0 or [wartosc179] is null
UPDATE [PLACE_DANE] set [wartosc180]=[wartosc151]+ [wartosc2] where [wartosc180]=0 or [wartosc180] is null
alter table [KADRY_WARUNKI] ADD COLUMN [INNE_SKŁ] Text (80)
UPDATE DOK_FIN  SET DOK_FIN.wart_fin = 0
UPDATE DOK_FIN INNER JOIN DOK_FIN_ZAWART ON DOK_FIN.kp_id = DOK_FIN_ZAWART.dok_id SET DOK_FIN.wart_fin = DOK_FIN.wart_fin+DOK_FIN_ZAWART.kwota WHERE (DOK_FIN_ZAWART.rodzaj_dok='KW' OR DOK_FIN_ZAWART.rodzaj_dok='KP')
Select DOK_FIN.kp_id,DOK_FIN_ZAWART.kp_id,DOK_FIN.kwota,DOK_FIN.kwota_kw,DOK_FIN_ZAWART.kwota from DOK_FIN INNER JOIN DOK_FIN_ZAWART ON DOK_FIN.kp_id = DOK_FIN_ZAWART.dok_id where  DOK_FIN.kwota+DOK_FIN.kwota_kw<DOK_FIN_ZAWART.kwota and (DOK_FIN_ZAWART.rodzaj_dok='KW' OR DOK_FIN_ZAWART.rodzaj_dok='KP')
Select DOK_FIN.kp_id,DOK_FIN.wart_fin,DOK_FIN.kwota,DOK_FIN.kwota_kw,Wart_Rozl from DOK_FIN where DOK_FIN.wart_fin > DOK_FIN.kwota_kw+DOK_FIN.kwota-Wart_Rozl and DOK_FIN.wart_fin>0
alter table [Dok_pro] ADD COLUMN Wykonano Logical
update DOK_pro set Wykonano=-1
alter table [DOK_PRZ] ADD COLUMN Wykonano Logical
update DOK_PRZ set Wykonano=-1
alter table [S_GRUPY_KONTRAHENTOW] ADD COLUMN id_GRPodKonh int DEFAULT 0
update S_GRUPY_KONTRAHENTOW set id_GRPodKonh=id_GRKonh
alter table [Kontrahenci] ADD COLUMN ID_GR_Pod_KONH int DEFAULT 0
update Kontrahenci set ID_GR_Pod_KONH=ID_GR_KONH
alter table [PLACE_LISTY] ADD COLUMN [SYMBOL_SCH] Text (3)
alter table [S_GRUPYP] ADD COLUMN [SYMBOL_SCH] Text (3)
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ID_DP] int DEFAULT 0
alter table  Dok_DZ ADD COLUMN [Id_Podzial] int DEFAULT 0
update Dok_DZ set Id_Podzial=0 where Id_Podzial is null
drop table Kontrahenci_Rabaty
create table Kontrahenci_Rabaty ( [Konh_id] int DEFAULT 0, Id_GR_prod int DEFAULT 0, PrRabat money DEFAULT 0, Countt int DEFAULT 0)
alter table [DOK_PAR_ZAWART] ADD COLUMN WSPRZ_CENA_BRUTTO money DEFAULT 0
alter table [DOK_PAR_ZAWART] ADD COLUMN WSPRZ_WARTOSC_BRUTTO money DEFAULT 0
UPDATE [DOK_PAR_ZAWART] set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*1.03,WSPRZ_WARTOSC_BRUTTO=ZDDOUT_CENA_N*1.03*ZDDOUT_ILOSC where ZDDOUT_VAT='3' and WSPRZ_CENA_BRUTTO is null
UPDATE [DOK_PAR_ZAWART] set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*1.07,WSPRZ_WARTOSC_BRUTTO=ZDDOUT_CENA_N*1.07*ZDDOUT_ILOSC where ZDDOUT_VAT='7' and WSPRZ_CENA_BRUTTO is null
UPDATE [DOK_PAR_ZAWART] set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*1.22,WSPRZ_WARTOSC_BRUTTO=ZDDOUT_CENA_N*1.22*ZDDOUT_ILOSC where ZDDOUT_VAT='22' and WSPRZ_CENA_BRUTTO is null
alter table [DOK_PAR] ADD COLUMN FISK int DEFAULT 0
UPDATE [DOK_PAR] set FISK=0 where FISK is null
alter table [DOK_PAR] ADD COLUMN NR_FISK Text (40)
select top 1 * into dok_Fwe from dok_fak
Delete * from [dok_Fwe]
select top 1 * into dok_Fwe_zawart from dok_fak_zawart
Delete * from [dok_Fwe_zawart]
alter table  [sposob_numeracji] ADD COLUMN [nag_fwe] text(50)
alter table  [KH_SCHEMATY_ZAWART] ADD COLUMN [Rodz_Aso] text(15)
Update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUK' where Rodz_Aso is null
Update Kontrahenci set Kier_id101=Kier_id1 WHERE Kier_id101 IS NULL
Update Kontrahenci set Kier_id201=Kier_id1 WHERE Kier_id201 IS NULL
alter table  [DOK_FAK] ADD COLUMN [F_Anulowana] Logical
Update DOK_FAK left join DOK_FAK_ZAWART on DOK_FAK.fakout_id = DOK_FAK_ZAWART.fakout_id set F_Anulowana=-1 where DOK_FAK_ZAWART.fakout_id is null
Update DOK_FAK set b_rabat_n=0,b_rabat_v=0 where F_Anulowana=-1
alter table  [DOK_KZA] ADD COLUMN [Komentarz] Text DEFAULT ''
alter table  [DOK_KFA] ADD COLUMN [Komentarz] Text DEFAULT ''
alter table DOK_PZ_zawart ADD COLUMN WtymST Single DEFAULT 0
update DOK_PZ_zawart set WtymST =0 where WtymST is null
alter table DOK_PZ_zawart ADD COLUMN [Nie_Ksieguj] Logical
alter table DOK_PZ_zawart ADD COLUMN [ZDDOUT_Wart_N] money DEFAULT 0
alter table [DOK_PZ_zawart] ADD COLUMN [KontoFK] Text (80)
alter table  [dok_PZ_zawart] ADD COLUMN [Ilosc_Mag] Single DEFAULT 0
update [dok_PZ_zawart] set [Ilosc_Mag]=[ZDDOUT_ILOSC] where [Ilosc_Mag]=0 or [Ilosc_Mag] is null
update [dok_PZ_zawart] set [Wsp_Przel]=1 where [Wsp_Przel]=0 or [Wsp_Przel] is null
update [dok_PZ_zawart] set [Sp_Przel]='Brak' where [Sp_Przel]='' or [Sp_Przel] is null
update [dok_PZ_zawart] inner join  [produkty] on [produkty].[PROD_ID]=[dok_PZ_zawart].[PROD_ID] set [Nazwa_Asort]=[produkty].[PROD_NAZWA_id] where [Nazwa_Asort]='' or [Nazwa_Asort] is null
alter table [DOK_PZ] ADD COLUMN [Opis_Zdarzenia] Text (50)
alter table DOK_WZ_zawart ADD COLUMN [Nie_Ksieguj] Logical
alter table DOK_WZ_zawart ADD COLUMN [ZDDOUT_Wart_N] money DEFAULT 0
alter table [DOK_WZ_zawart] ADD COLUMN [KontoFK] Text (80)
update [DOK_WZ_zawart] set [Ilosc_Mag]=[ZDDOUT_ILOSC] where [Ilosc_Mag]=0 or [Ilosc_Mag] is null
alter table [DOK_WZ] ADD COLUMN [Opis_Zdarzenia] Text (50)
alter table DOK_WZ_zawart ADD COLUMN WtymST Single DEFAULT 0
update DOK_WZ_zawart set WtymST =0 where WtymST is null
Update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUKŚ' where Rodz_Aso ='PTOSUK'
alter table [S_Grupy_Produkcyjne] ADD COLUMN [dom_wyjazd] int DEFAULT 0
update [S_Grupy_Produkcyjne] set [dom_wyjazd]=1
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Kartoteka] Text (1)
Update KH_SCHEMATY_ZAWART set Kartoteka='K' where KONTO='200' and Kartoteka is null
Update KH_SCHEMATY_ZAWART set Kartoteka='' where Kartoteka is null
Select top 1 SYMBOL_SCH,NAZWA_SCH,ROK,Opis FROM [KH_SCHEMATY] where [SYMBOL_SCH]='KB'
Select top 1 SYMBOL_SCH,POLE,KONTO,STRONA,TRESC,ID_DP,Rodz_Aso,Kartoteka FROM [KH_SCHEMATY_zawart]
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ROK] int DEFAULT 0
alter table [CENNIKI] ADD COLUMN [ID_CENNIKA] int identity
alter table [CENNIKI] ADD COLUMN [ACTIVE] Logical
alter table [CENNIKI_ZAWART] ADD COLUMN [ID_CENNIKA] int DEFAULT 0
alter table [CENNIKI_ZAWART] ADD COLUMN [ACTIVE] Logical
Update CENNIKI_ZAWART inner join CENNIKI on CENNIKI_ZAWART.LCEN_NAZWA_ID=CENNIKI.LCEN_NAZWA_ID set CENNIKI_ZAWART.ID_CENNIKA=CENNIKI.ID_CENNIKA where CENNIKI_ZAWART.ID_CENNIKA is null
update [cenniki] set active=true,[LCEN_DATA]=format('01-01-1990','dd-MM-yyyy')
update [CENNIKI_ZAWART] set active=true
alter table [DOK_ZAK] ADD COLUMN [Data_Rozl] SmallDateTime DEFAULT null
alter table [DOK_KZA] ADD COLUMN [Data_Rozl] SmallDateTime DEFAULT null
alter table [DOK_ZAK] ADD COLUMN [Na_Nast_M] Logical
alter table [DOK_KZA] ADD COLUMN [Na_Nast_M] Logical
update [DOK_ZAK] set [Data_Rozl]=[data_zaksiegowania] where Data_Rozl is null
update [DOK_KZA] set [Data_Rozl]=[FKOROUT_DATA_WYST]  where Data_Rozl is null
alter table  DOK_DZ ADD COLUMN [Numer_Podzialu] int DEFAULT 0
update DOK_DZ set [Numer_Podzialu]=0 where [Numer_Podzialu] is null
update dok_zak set Data_Vat=data_zaksiegowania where data_vat is null
update dok_kza set Data_Vat=FKOROUT_DATA_WYST  where data_vat is null
update kh_DEKRETY INNER JOIN KH_KSIEGA ON kh_DEKRETY.kpir_id = KH_KSIEGA.kpir_id set kh_DEKRETY.glowna=KH_KSIEGA.glowna,kh_DEKRETY.anulowana=KH_KSIEGA.anulowana
update KH_SCHEMATY_ZAWART set rok=2002 where rok=0 or rok is null
Update KH_Ksiega set rok=format([data],'yyyy'),MIESIAC=format([data],'MM')
Update KH_Ksiega set rodzaj=21 where rodzaj=20 and opis='Paragon'
alter table [KH_Ksiega] ADD COLUMN [Suma_ma] money DEFAULT 0
Update KH_Ksiega set suma_wn=0,suma_ma=0
Update kh_ksiega INNER JOIN KH_DEKRETY ON KH_KSIEGA.KPIR_ID=KH_DEKRETY.KPIR_ID set kh_ksiega.suma_wn=kh_ksiega.suma_wn+kh_dekrety.KWOTA_WN,kh_ksiega.suma_ma=kh_ksiega.suma_ma+kh_dekrety.KWOTA_ma
alter table [KH_dEKRETY] ADD COLUMN [Konta_Przeciwstawne] Text (255)
UPDATE [KH_KONTA] set Typ='B' where NR_K_2='' and Kartoteka=0
UPDATE [KH_KONTA] inner join [KH_KONTA] as kk on [KH_KONTA].NR_K_1=kk.NR_K_1 set kk.Typ='S' Where [KH_KONTA].NR_K_2<>kk.NR_K_2 and kk.NR_K_2=''
UPDATE [KH_KONTA] inner join [KH_KONTA] as kk on ([KH_KONTA].NR_K_1=kk.NR_K_1) and ([KH_KONTA].NR_K_2=kk.NR_K_2) set kk.Typ='P' Where [KH_KONTA].NR_K_3<>kk.NR_K_3 and kk.NR_K_2<>'' and kk.NR_K_3=''
UPDATE [KH_KONTA] inner join [KH_KONTA] as kk on ([KH_KONTA].NR_K_1=kk.NR_K_1) and ([KH_KONTA].NR_K_2=kk.NR_K_2) and ([KH_KONTA].NR_K_3=kk.NR_K_3) set kk.Typ='P' Where [KH_KONTA].NR_K_4<>kk.NR_K_4 and kk.NR_K_3<>'' and kk.NR_K_4=''
INSERT INTO kh_konta (ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4,Nazwa_konta,Typ,Rodzaj,Kartoteka,Konh_id) select distinctrow d.ROK,d.NR_K_1,d.NR_K_2,d.NR_K_3,d.NR_K_4,'','',1,0,d.Konh_id from kh_dekrety as d left join kh_konta as k on (d.rok=k.rok) and (d.NR_K_1=k.NR_K_1) and (d.NR_K_2=k.NR_K_2) and (d.NR_K_3=k.NR_K_3) and (d.NR_K_4=k.NR_K_4) where k.NR_K_1 is null group by d.ROK,d.NR_K_1,d.NR_K_2,d.NR_K_3,d.NR_K_4,d.konh_id
UPDATE [KH_KONTA] inner join kontrahenci on kh_konta.konh_id=kontrahenci.konh_id set kh_konta.nazwa_konta=kontrahenci.KONH_NAZ_SKROT where kh_konta.nazwa_konta=''
alter table [kh_ksiega] ADD COLUMN [Bledy] Logical
Update kh_ksiega AS K SET k.Bledy=0
Update kh_ksiega AS K SET k.Bledy=-1 where k.Suma_wn=0 or k.Suma_wn<>k.Suma_ma and k.Bledy=0
Update kh_ksiega AS K inner join kh_dekrety AS D ON (K.kpir_id=D.kpir_id) SET k.Bledy=-1 where d.countt_konta=0 and k.Bledy=0
alter table [dok_fin] ADD COLUMN [nrBak] Text (50)
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ID_GRUPY] int DEFAULT 0
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Kontr] Text (50)
update KH_SCHEMATY_ZAWART set Kontr=''
update KH_SCHEMATY_ZAWART set Kartoteka=' ' where Kartoteka='N'
update KH_SCHEMATY_ZAWART set Kontr=Kontr & Kartoteka where Kartoteka<>'P'
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [GrupaAsort] Text (50)
alter table [KH_KONTA] ADD COLUMN [KONTO] Text (100)
alter table [KH_KONTA] ADD COLUMN [Kontr] Text (1)
update KH_KONTA set Kontr='K' where Kartoteka=-1 and (Kontr='' or Kontr is null)
alter table [KH_DEKRETY] ADD COLUMN [KONTO] Text (100)
Update kh_ksiega INNER JOIN KH_DEKRETY ON KH_KSIEGA.KPIR_ID=KH_DEKRETY.KPIR_ID set kh_ksiega.suma_wn=kh_ksiega.suma_wn+kh_dekrety.KWOTA_WN,kh_ksiega.suma_ma=kh_ksiega.suma_ma+kh_dekrety.KWOTA_ma where kh_ksiega.suma_wn<>kh_ksiega.suma_ma
alter table [kh_ksiega] ADD COLUMN [Wart_kp] money DEFAULT 0
alter table [kpir_ksiega] ADD COLUMN [Wart_kp] money DEFAULT 0
create table [KH_BAZY] (ID_BAZY int identity,SIEZKA Text (255),ACTIVE Logical, ROK int DEFAULT 0,Miesiac int DEFAULT 0)
INSERT INTO KH_BAZY (ID_BAZY,SIEZKA,ACTIVE,ROK,MIESIAC) VALUES(0,'Główna',-1,0,0)
alter table [kh_ksiega] ADD COLUMN [ID_BAZY] int DEFAULT 0
alter table [Nieruszac] ADD COLUMN [ROK] int DEFAULT 0
alter table [S_GRUPYp]  ADD COLUMN [numer_id_import] int DEFAULT 0
alter table [PLACE_DANE]  ADD COLUMN [ID_GRUPY] int DEFAULT 0
select [place_dane].* into [Place_Listy_Zawart] from [place_dane]
select [PLACE_SWIADCZ_PRZERWY].* into [PLACE_LISTY_SWIADCZ_PRZERWY] from [PLACE_SWIADCZ_PRZERWY]
create table [PLACE_zestawienia] (ID_ZEST int identity,NAZWA Text (255),ACTIVE Logical)
create table [PLACE_zestawienia_ZAWART] (ID_ZEST int DEFAULT 0,LP int DEFAULT 0,ID_DP int DEFAULT 0,nazwa Text (50))
create table [PLACE_zestawienia_ZAWART_SUMY] (ID_ZEST int DEFAULT 0,LP int DEFAULT 0,LP_SUMY int DEFAULT 0,ZNAK Text (1))
alter table [Setup_stanowisko] ADD COLUMN STAN int DEFAULT 0
delete * from Setup_stanowisko
delete * from UZYTKOWNICY_Setup
Select Nazwa,Wartosc from SETUP
Select Nazwa,Wartosc,Users from UZYTKOWNICY_Setup
Select Nazwa,Wartosc,Stan from Setup_stanowisko
delete * from Setup where trim(Wartosc)=''
delete * from Setup_Stanowisko where trim(Wartosc)=''
delete * from Uzytkownicy_Setup where trim(Wartosc)=''
UPDATE Kontrahenci set NumerWFK=trim(NumerWFK)
alter table [KH_dekrety] ADD COLUMN kontoBAK Text (255)
update kh_dekrety set kontobak=nr_k_1 & iif(nr_k_2<>'','-' & nr_k_2 & iif(nr_k_3<>'','-' & nr_k_3 & iif(nr_k_4<>'','-' & nr_k_4,''),'') ,'')
alter table [KH_KSIEGA] ADD COLUMN Data_operacji SmallDateTime DEFAULT null
update [KH_KSIEGA] set Data_operacji=Data_K where Data_operacji is null
alter table [KH_KSIEGA] ADD COLUMN Numer_W_KH Text (100)
update [KH_KSIEGA] set Numer_W_KH=''
update [KH_KSIEGA] set Numer_Wew=numer where Numer_Wew is null or trim(Numer_Wew)=''
update [KH_KSIEGA] set numer=Numer_Wew where numer is null or trim(numer)=''
update [PLACE_LISTY_ZAWART] set [wartosc151]=[wartosc19] where [wartosc151]=0 or [wartosc151] is null
update [PLACE_LISTY_ZAWART] set [wartosc156]=[wartosc87] where [wartosc156]=0 or [wartosc156] is null
update [PLACE_LISTY_ZAWART] set [wartosc154]=[wartosc88] where [wartosc154]=0 or [wartosc154] is null
alter table KH_KSIEGA ADD COLUMN NP int DEFAULT 0
update KH_KSIEGA set np=0 where np is null
update dok_fra set num_ndok=val(raport_nr)
update dok_fin set num_ndok=val(nr_kp)
update [Place_Opisy] set [opis]= 'Dodatek inny 3',[skr]= 'Dod.inny3' where [pole] = 84
update [Place_Opisy] set [opis]= 'Odprawa',[skr]= 'Odprawa' where [pole] = 85
update [KH_BAZY] set [Wersja]=0
DROP TABLE KADRY_PODATEK
alter table [Kontrahenci] ADD COLUMN Act_SNal Logical
alter table [Kontrahenci] ADD COLUMN Platnik_id int DEFAULT 0
UPDATE [kontrahenci] set platnik_id=konh_id where platnik_id is null
UPDATE [kontrahenci] as ko inner join kontrahenci as pl on ko.[konh_platnik_kto]=pl.[KONH_NAZ_SKROT] set ko.platnik_id=pl.konh_id where ko.platnik_id=ko.konh_id
alter table [DEKLARACJE] ADD COLUMN Konh_id int DEFAULT 0
UPDATE Deklaracje set konh_id=id_us
alter table [KPIR_KSIEGA] ADD COLUMN Wart_fin money DEFAULT 0
alter table PLACE_LISTY_ZAWART ADD COLUMN [Platnik_id] int DEFAULT 0
UPDATE PLACE_LISTY_ZAWART as Ta inner join kontrahenci as ko on ta.idp=ko.[konh_id] set ta.platnik_id=ko.platnik_id where ta.platnik_id is null
alter table  DOK_FIN_ZAWART ADD COLUMN [rodzaj] int DEFAULT 0
UPDATE DOK_FIN_ZAWART set rodzaj=10 where rodzaj_dok='Zakup'
UPDATE DOK_FIN_ZAWART set rodzaj=11 where rodzaj_dok='Zakup RR'
UPDATE DOK_FIN_ZAWART set rodzaj=12 where rodzaj_dok='Rachunek'
UPDATE DOK_FIN_ZAWART set rodzaj=13,rodzaj_dok='Korekta Zak -' where rodzaj_dok='Korekta RR'
UPDATE DOK_FIN_ZAWART inner join dok_kza as tt on DOK_FIN_ZAWART.dok_id=tt.fkorout_id set DOK_FIN_ZAWART.rodzaj=96,DOK_FIN_ZAWART.rodzaj_dok='Korekta Zak +' where DOK_FIN_ZAWART.rodzaj_dok='Korekta Zak -' and (tt.[fkorout_wart_n]+tt.[fkorout_wart_vat])>0
UPDATE DOK_FIN_ZAWART set rodzaj=14 where rodzaj_dok='PZ'
UPDATE DOK_FIN_ZAWART set rodzaj=15 where rodzaj_dok='WZ'
UPDATE DOK_FIN_ZAWART set rodzaj=20,rodzaj_dok='SV' where rodzaj_dok='SV'
UPDATE DOK_FIN_ZAWART set rodzaj=21,rodzaj_dok='Paragon' where rodzaj_dok='Paragon'
UPDATE DOK_FIN_ZAWART set rodzaj=23,rodzaj_dok='Korekta -' where rodzaj_dok='Korekta'
UPDATE DOK_FIN_ZAWART inner join dok_kfa as tt on DOK_FIN_ZAWART.dok_id=tt.fkorout_id set DOK_FIN_ZAWART.rodzaj=95,DOK_FIN_ZAWART.rodzaj_dok='Korekta +' where DOK_FIN_ZAWART.rodzaj_dok='Korekta -' and (tt.[fkorout_wart_n]+tt.[fkorout_wart_vat])>0
UPDATE DOK_FIN_ZAWART set rodzaj=25 where rodzaj_dok='faktura wew'
UPDATE DOK_FIN_ZAWART set rodzaj=26 where rodzaj_dok='RW'
UPDATE DOK_FIN_ZAWART set rodzaj=27 where rodzaj_dok='PW'
UPDATE DOK_FIN_ZAWART set rodzaj=28 where rodzaj_dok='DD'
UPDATE DOK_FIN_ZAWART set rodzaj=29 where rodzaj_dok='DZ'
UPDATE DOK_FIN_ZAWART set rodzaj=55 where rodzaj_dok='KW'
UPDATE DOK_FIN_ZAWART set rodzaj=56 where rodzaj_dok='KP'
UPDATE DOK_FIN_ZAWART AS FZ INNER JOIN DOK_FIN AS DF ON FZ.KP_ID=DF.KP_ID set FZ.rodzaj=57,FZ.rodzaj_dok='BP' where FZ.rodzaj_dok='KP' AND DF.KB='B'
UPDATE DOK_FIN_ZAWART AS FZ INNER JOIN DOK_FIN AS DF ON FZ.KP_ID=DF.KP_ID set FZ.rodzaj=58,FZ.rodzaj_dok='BW' where FZ.rodzaj_dok='KW' AND DF.KB='B'
UPDATE DOK_FIN_ZAWART set rodzaj=70 where rodzaj_dok='PRAC'
UPDATE DOK_FIN_ZAWART set rodzaj=81 where rodzaj_dok='PIT4'
UPDATE DOK_FIN_ZAWART set rodzaj=82 where rodzaj_dok='PIT5'
UPDATE DOK_FIN_ZAWART set rodzaj=83 where rodzaj_dok='VAT7 -'
UPDATE DOK_FIN_ZAWART inner join deklaracje as tt on DOK_FIN_ZAWART.dok_id=tt.id set rodzaj=84,rodzaj_dok='VAT7 +' where rodzaj_dok='VAT7 -' and (tt.kwota)<0 and mid(tt.Nazwa,1,4)='Vat7'
alter table [KPIR_OKRESY] ADD COLUMN ZamknieteKasy Logical
alter table [Place_Dane] ADD COLUMN Owartosc6005 byte
ALTER TABLE [Place_Dane] ADD COLUMN [Kategoria] TEXT(1)
alter table [KH_KSIEGA] ADD COLUMN USER_COUNTT int DEFAULT 0
update [Kontrahenci] set RKONH_NAZWA_ID='Dostawca i Odbiorca' where RKONH_NAZWA_ID='' or RKONH_NAZWA_ID is null
alter table [stany_magazynowe] ADD COLUMN Data_Zam SmallDateTime DEFAULT null
update [Uzytkownicy] set Stanowisko=0
alter table [sRODKI_TRWALE] ADD COLUMN CalyAsortyment Logical
alter table [sRODKI_TRWALE] ADD COLUMN KONTOFK Text (50)
UPDATE SRODKI_TRWALE INNER JOIN DOK_ZAK_ZAWART ON SRODKI_TRWALE.id_dok = DOK_ZAK_ZAWART.numer_id SET SRODKI_TRWALE.kontoFK=DOK_ZAK_ZAWART.KontoFK WHERE DOK_ZAK_ZAWART.sur_ID=[SRODKI_TRWALE].[id_prod] and DOK_ZAK_ZAWART.KontoFK<>''
UPDATE DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = 0 where DOK_ZAK_ZAWART.WtymST <0
UPDATE DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = Dok_ZAK_ZAWART.Ilosc_Mag where DOK_ZAK_ZAWART.WtymST > Dok_ZAK_ZAWART.Ilosc_Mag
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN Konto_MA Text (200)
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN Procent Single DEFAULT 0
Update KH_Ksiega set rodzaj=22 where (rodzaj=20 or rodzaj=0) and opis='Kasa Fiskalna'
drop table DOK_PRO_ZAWART_SUROWCE
drop table DOK_PRO_SUROWCE
alter table [Produkty] ADD COLUMN Dom_konto500 Text  (80)
alter table [Dok_zak_zawart] ADD COLUMN KONTOfk500 Text  (80)
alter table [Produkty] ADD COLUMN prod_kod4 Text  (20)
alter table [Kontrahenci] ADD COLUMN kod_prod4 Logical
alter table [DOK_PAR] ADD COLUMN KasaFis Logical
alter table [DOK_PAR] ADD COLUMN Sklepowy Logical
update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set dok_par.KasaFis=0,dok_par.sklepowy=-1 where (kontrahenci.rkonh_nazwa_id='Kasa Fiskalna' and konh_platnik_kto<>'')
update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set dok_par.KasaFis=-1,dok_par.sklepowy=0 where (kontrahenci.rkonh_nazwa_id='Kasa Fiskalna' and konh_platnik_kto='')
update dok_par inner join kontrahenci on dok_par.konh_id=kontrahenci.konh_id  set dok_par.KasaFis=0,dok_par.sklepowy=0 where kontrahenci.rkonh_nazwa_id<>'Kasa Fiskalna'
update dok_par_zawart set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*(1+ZDDOUT_VAT/100) where WSPRZ_CENA_BRUTTO=0 and ZDDOUT_CENA_N*ZDDOUT_ILOSC<>0 and (ZDDOUT_VAT='7' or ZDDOUT_VAT='3' or ZDDOUT_VAT='12' or ZDDOUT_VAT='22')
update dok_par_zawart set WSPRZ_WARTOSC_BRUTTO=WSPRZ_CENA_BRUTTO*ZDDOUT_ILOSC where WSPRZ_CENA_BRUTTO<>0 and WSPRZ_WARTOSC_BRUTTO=0
UPDATE [Kontrahenci] set [LCEN_NAZWA_ID]   ='' where [LCEN_NAZWA_ID]   ='Brak' or [LCEN_NAZWA_ID]='Brak cennika !'
UPDATE [Kontrahenci] set [LCEN_NAZWA_ID_2] ='' where [LCEN_NAZWA_ID_2] ='Brak' or [LCEN_NAZWA_ID_2]='Brak cennika !'
UPDATE [Kontrahenci] set [konh_platnik_kto]='' where [konh_platnik_kto]='Brak'
UPDATE [Kontrahenci] set [konh_okres]      ='' where [konh_okres]      ='Brak' or [konh_okres]='Brak okresu'
alter table [Produkty] ADD COLUMN prod_kod_EAN Text  (13)
alter table [Kontrahenci] ADD COLUMN kod_ILN Text  (20)
update [DOK_FIN_ZAWART] set kwota=-kwota where kwota<0
alter table [DOK_KFA_ZAWART] ADD COLUMN Fakout_id_Z int DEFAULT 0
update dok_zak set Data_Vat=format(data_vat,'dd-MM-yyyy')
update dok_kza set Data_Vat=format(data_vat,'dd-MM-yyyy')
update [DOK_ZAK] set [Data_Rozl]=format(data_rozl,'dd-MM-yyyy')
update [DOK_KZA] set [Data_Rozl]=format(data_rozl,'dd-MM-yyyy')
alter table [DOK_FAK] ADD COLUMN Fiskalizowana Logical
alter table [DOK_FAK] ADD COLUMN Sklepowa Logical
alter table [DOK_KZA] ADD COLUMN Sklepowa Logical
alter table [DOK_KFA] ADD COLUMN Sklepowa Logical
UPDATE KH_DEKRETY AS KD INNER JOIN KH_KONTA AS KK ON KD.COUNTT_KONTA=KK.COUNTT SET KD.KONH_ID=KK.KONH_ID WHERE KK.KONH_ID<>0
create table [S_Odsetki] (Rodzaj int DEFAULT 0,Od_Dnia SmallDateTime DEFAULT null,Procent Single DEFAULT 0,Countt int identity)
alter table [uzytkownicy] add PrawaZ Text (30) DEFAULT ''
alter table [uzytkownicy] add NI Text (90) DEFAULT ''
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (181,'Bon towarowy ZFŚS','Bon ZFŚS.')
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (182,'Bon towarowy ZFŚS - suma od początku roku','Bony-suma')
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (183,'Bon towarowy - wartość do składek i podatku','Przychód ZFŚS')
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (184,'Bon towarowy - podatek','Podatek ZFŚS')
alter table [Dok_dd] ADD COLUMN [F_Anulowana] Logical
update SRODKI_TRWALE_ZAWART set prod_countt =0
alter table [S_GRUPY_PRODUKCYJNE] ADD COLUMN [CENNIK] Text (20) dEFAULT ''
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [Vat] Text (2) dEFAULT ''
alter table [KH_SCHEMATY_ZAWART] ADD COLUMN [ID_GrProd_Aso] int DEFAULT 0
update [KH_SCHEMATY_ZAWART] set vat='',[ID_GrProd_Aso]=0
Select top 1 * into [DOK_MP] from [DOK_DZ]
Delete * from [DOK_MP]
Select top 1 * into [DOK_MP_ZAWART] from [DOK_DZ_ZAWART]
Delete * from [DOK_MP_ZAWART]
alter table  [sposob_numeracji] ADD COLUMN [nag_mp] text(50)
alter table  [STANY_MAGAZYNOWE] ADD COLUMN [MP] Single DEFAULT 0
alter table  [S_KONTA_POLACZONE] ADD COLUMN [Countt] int identity
alter table  [KH_KSIEGA] ADD COLUMN [TerminPl] SmallDateTime DEFAULT null
update KH_KSIEGA set TerminPl=Data
update KH_KSIEGA set TerminPlOrg=Data
create table S_Rodzaj_MWP (id_mwp int identity, Nazwa Text (50) default '',Magazyn2 Logical, sm_id int DEFAULT 0)
INSERT INTO s_rodzaj_mwp (ID_MWP,NAZWA,Magazyn2,sm_id) values(0,'Pozostale',0,0)
INSERT INTO s_rodzaj_mwp (ID_MWP,NAZWA,Magazyn2,sm_id) values(1,'Kierowcy',-1,0)
INSERT INTO s_rodzaj_mwp (ID_MWP,NAZWA,Magazyn2,sm_id) values(2,'Zniszczono',0,0)
INSERT INTO s_rodzaj_mwp (ID_MWP,NAZWA,Magazyn2,sm_id) values(3,'Reklama',0,0)
alter table [PLACE_LISTY] ADD COLUMN [czy_ldod] Logical
alter table [PLACE_LISTY] ADD COLUMN [wynp_zd] money DEFAULT 0
alter table [PLACE_LISTY_ZAWART] ADD COLUMN [wart_bp] money DEFAULT 0
Update s_rodzaj_mwp set RodzajKonh='Kierowca' where ID_MWP=1
Update dok_fin set kontoP_wn='' where kontoP_wn is null
Update dok_fin set kontoP_ma='' where kontoP_ma is null
delete * from NUMERY_OST_DOK_NAG where dokument='zakupy'
create table Dok_MWP_Rozliczenie (id_mwpr int identity,Rok int DEFAULT 0,Tydzien int DEFAULT 0, Kier_id int DEFAULT 0,Prod_id int DEFAULT 0,Ilosc int DEFAULT 0, Id_grProd int DEFAULT 0)
update dok_fin_zawart set rodzaj_dok='SV' where rodzaj_dok='Faktura'
UPDATE S_RODZAJ_MWP SET rodzaj='P'
UPDATE S_GRUPY_PRODUKCYJNE SET zysk=0
UPDATE DRUKARKI SET NieOstFF=0
update dok_fin_zawart set rodzaj_dok='ZV' where rodzaj_dok='ZA'
Drop table Stany_magazynowe_Z_cena
Drop table DOK_ZAM_PARAMETRY
update KH_KSIEGA set FormaPl='G' where FormaPl=''
create Table S_Numery_dok  (ID int identity,Dokument Text (50) default '',Sm_id int DEFAULT 0, PodziaL int DEFAULT 0,oKRESoD Text (10) DEFAULT '',oKRESdO Text (10) DEFAULT '',KIER_ID int DEFAULT 0,num_ndok int DEFAULT 0,MusiszSprawdzic Logical)
alter table [DOK_PW_ZAWART] ADD COLUMN WSPRZ_CENA_BRUTTO money
alter table [DOK_PW_ZAWART] ADD COLUMN WSPRZ_WARTOSC_BRUTTO money
UPDATE [DOK_PW_ZAWART] set WSPRZ_CENA_BRUTTO=ZDDOUT_CENA_N*1.03,WSPRZ_WARTOSC_BRUTTO=ZDDOUT_CENA_N*1.03*ZDDOUT_ILOSC where ZDDOUT_VAT='3' and WSPRZ_CENA_BRUTTO is null
update Kontrahenci set DoZam=0
update KONTRAHENCI set DoZam=-1 where (konh_activ=-1 and (rkonh_nazwa_id='Odbiorca' or rkonh_nazwa_id='Dostawca i Odbiorca' or rkonh_nazwa_id='Punkt sprzedaży'))
update Produkty set DoZam=0
update Produkty set DoZam=-1 where prod_on=-1 and ACT_SALE=-1
create Table DOK_INN  (DOK_ID int identity,Data SmallDateTime DEFAULT null,Termin SmallDateTime DEFAULT null,FormaPl Text (1) default '',Numer Text (50) default '',Rodzaj  Text (50) default '',Opis Text (255) default '',Wart_kp money DEFAULT 0,Wart_fin money DEFAULT 0,konh_id int DEFAULT 0)
DROP TABLE KH_Bilans
INSERT INTO KH_Bilans (ID_poz,NAZWA,Typ,Wydr,p1,p2,p3,p4,k) values (13,'   1.Rezerwa z tytułu odroczonego podatku dochodowego','P','P',11,12,0,0,'0')
DROP TABLE KH_Rachunek
DROP TABLE KH_Rachunek_zawart
Update KH_Bilans set Rok=2002 where rok is null or rok=0
Update KH_Rachunek set Rok=2002 where rok is null or rok=0
DROP TABLE KH_F01
INSERT INTO KH_F01 (ID_poz,NAZWA,Pozycja,Czesc,Dzial,p1,p2,k) values (70,'Zapasy ogółem','01','1','2',0,0,'1')
DROP TABLE KH_F01_zawart
Update KH_F01 set Rok=2002 where rok is null or rok=0
alter table DOK_KFA add Scal_Id int DEFAULT 0
Update DOK_KFA set Scal_Id=0
Select Dok_dd.DDOUT_NUMER FROM Dok_dd INNER JOIN Dok_dd AS D1 ON Dok_dd.[DDOUT_NUMER]=D1.DDOUT_NUMER WHERE Dok_dd.ddout_id>D1.ddout_id
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (185,'Bon towarowy inny','Bon inny')
alter table [Place_Listy_zawart] ADD COLUMN [wartosc185]  money DEFAULT 0
DELETE *.* FROM PRODUKTY_WSP_PRZEL WHERE TRIM(Sp_Przel)='' OR Wsp_Przel<=0
update DOK_RW_ZAWART  set ZDDOUT_CENA_N_2=0,WSPRZ_CENA_BRUTTO_2=0
update (DOK_RW_ZAWART INNER JOIN (KONTRAHENCI INNER JOIN CENNIKI_ZAWART  ON KONTRAHENCI.LCEN_NAZWA_ID_2 = CENNIKI_zawart.LCEN_NAZWA_ID) ON DOK_RW_ZAWART.PROD_ID =CENNIKI_ZAWART.PROD_ID) INNER JOIN DOK_RW ON (DOK_RW_ZAWART.ddout_id = DOK_RW.DDOUT_ID) AND (KONTRAHENCI.KONH_ID = DOK_RW.KONH_ID) set ZDDOUT_CENA_N_2=cenniki_zawart.CEN_NETTO,WSPRZ_CENA_BRUTTO_2=cenniki_zawart.Cen_Brutto
update (DOK_PW_ZAWART INNER JOIN (KONTRAHENCI INNER JOIN CENNIKI_ZAWART  ON KONTRAHENCI.LCEN_NAZWA_ID_2 = CENNIKI_zawart.LCEN_NAZWA_ID) ON DOK_PW_ZAWART.PROD_ID =CENNIKI_ZAWART.PROD_ID) INNER JOIN DOK_PW ON (DOK_PW_ZAWART.ddout_id = DOK_PW.DDOUT_ID) AND (KONTRAHENCI.KONH_ID = DOK_PW.KONH_ID) set ZDDOUT_CENA_N_2=cenniki_zawart.CEN_NETTO,WSPRZ_CENA_BRUTTO_2=cenniki_zawart.Cen_Brutto
drop table DOK_PRZ_ZAWART_PRO
drop table DOK_MMA_ZAWART_PRO
update DOK_FIN_zawart set Id_bazy=0 where Id_bazy is null
select * into PRODUKTY_RECEPTURY_zawart from PRODUKTY_RECEPTURY
Select  * FROM PRODUKTY_RECEPTURY_ZAWART
DROP TABLE PRODUKTY_RECEPTURY
select * into PRODUKTY_RECEPTURY from PRODUKTY_kalkulacja
insert into PRODUKTY_RECEPTURY (prod_id,ACTIVE,DATAod) select PRODUKTY_RECEPTURY_ZAWART.prod_id,-1,#01-01-1990# from PRODUKTY_RECEPTURY_ZAWART left join produkty_kalkulacja on PRODUKTY_RECEPTURY_ZAWART.prod_id=produkty_kalkulacja.prod_id where produkty_kalkulacja.prod_id is null group by PRODUKTY_RECEPTURY_ZAWART.PROD_ID
Update PRODUKTY_RECEPTURY_ZAWART inner join PRODUKTY_RECEPTURY on  PRODUKTY_RECEPTURY_ZAWART.prod_id=PRODUKTY_RECEPTURY.prod_id set PRODUKTY_RECEPTURY_ZAWART.active=-1,PRODUKTY_RECEPTURY_ZAWART.id_receptury=PRODUKTY_RECEPTURY.id_receptury
Update PRODUKTY_RECEPTURY set active=-1,dataod=#01-01-1990#
drop table PRODUKTY_kalkulacja
UPDATE Produkty set Act_Komplet=0
UPDATE S_GRUPY_ZWROTOW set Wybrak=-1
SELECT * INTO CENNIKI_ZAWART_1 FROM CENNIKI_ZAWART
UPDATE PRODUKTY_RECEPTURY set Okruchy=0
UPDATE PRODUKTY_RECEPTURY set Wydajnosc=1
DELETE * FROM DRUKARKI WHERE TRIM(Port)='' OR Emulacja='Bez emulacji' OR Podajnik='Nie zdefiniowany' OR StronaKodowa='Nie zdefiniowana' OR PORT='DOT4_001' OR PORT='DOT4_002' OR PORT='Ekran'
DROP TABLE HELP
UPDATE PRODUKTY_RECEPTURY INNER JOIN PRODUKTY ON PRODUKTY_RECEPTURY.PROD_ID=PRODUKTY.PROD_ID SET PRODUKTY_RECEPTURY.Szt_w_opak=PRODUKTY.Szt_w_opak,PRODUKTY_RECEPTURY.WAGA=PRODUKTY.PROD_WAGA,PRODUKTY_RECEPTURY.WYDAJNOSC=PRODUKTY.PROD_WYDAJNOSCzREC
SELECT * INTO SRODKI_TRWALE FROM SRODKI_TRWALE_ZAWART
UPDATE DOK_ZAK_ZAWART SET DOK_ZAK_ZAWART.WtymST = 0
UPDATE (SRODKI_TRWALE_ZAWART inner join SRODKI_TRWALE on SRODKI_TRWALE_ZAWART.id=SRODKI_TRWALE.id )INNER JOIN DOK_ZAK_ZAWART ON SRODKI_TRWALE_ZAWART.id_dok = DOK_ZAK_ZAWART.numer_id SET DOK_ZAK_ZAWART.WtymST = [DOK_ZAK_ZAWART].[WtymST]+IIf(CalyAsortyment = -1, DOK_ZAK_ZAWART.ilosc_mag, 1) WHERE DOK_ZAK_ZAWART.sur_ID=[SRODKI_TRWALE_ZAWART].[id_prod] and SRODKI_TRWALE.Wyposazenie=0
UPDATE DOK_KZA_ZAWART set WART_N=format((ZFKOROUT_CENA_N*zfkorout_ilosckor)-(CENA_ORG*ZFKOROUT_ILOSC),'0.00')
UPDATE DOK_KZA_ZAWART set DOK_KZA_ZAWART.WART_N_ORG=format((CENA_ORG*ZFKOROUT_ILOSC),'0.00')
UPDATE  (DOK_KZA INNER JOIN DOK_KZA_ZAWART ON DOK_KZA.FKOROUT_ID = DOK_KZA_ZAWART.FKOROUT_ID) INNER JOIN (DOK_ZAK INNER JOIN DOK_ZAK_ZAWART ON DOK_ZAK.numer_id = DOK_ZAK_ZAWART.numer_id) ON (DOK_KZA_ZAWART.PROD_ID = DOK_ZAK_ZAWART.sur_ID) AND (DOK_KZA.FAKOUT_ID = DOK_ZAK.numer_id) set DOK_KZA_ZAWART.WART_N_ORG=DOK_ZAK_ZAWART.WART_N where DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N
UPDATE DOK_KZA_ZAWART set DOK_KZA_ZAWART.VAT_ORG=DOK_KZA_ZAWART.ZFKOROUT_VAT
UPDATE  (DOK_KZA INNER JOIN DOK_KZA_ZAWART ON DOK_KZA.FKOROUT_ID = DOK_KZA_ZAWART.FKOROUT_ID) INNER JOIN (DOK_ZAK INNER JOIN DOK_ZAK_ZAWART ON DOK_ZAK.numer_id = DOK_ZAK_ZAWART.numer_id) ON (DOK_KZA_ZAWART.PROD_ID = DOK_ZAK_ZAWART.sur_ID) AND (DOK_KZA.FAKOUT_ID = DOK_ZAK.numer_id) set DOK_KZA_ZAWART.VAT_ORG=DOK_ZAK_ZAWART.VAT,DOK_KZA_ZAWART.OdliczVAT_Z=DOK_ZAK_ZAWART.OdliczVAT_Z where DOK_KZA_ZAWART.CENA_ORG=DOK_ZAK_ZAWART.CENA_N
update DOK_KFA_zawart set CenaMag_ORG=0,CenaMag=0
update DOK_KZA_zawart set CenaMag_ORG=0,CenaMag=0
update S_RODZAJ_MWP set MP=-1 where id_mwp<>0
update S_RODZAJ_MWP set MW=-1 where id_mwp<>0
update DOK_ZAK_ZAWART set CenaMag=round(WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0
update DOK_PZ_ZAWART set CenaMag=round(ZDDOUT_WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0
update DOK_WZ_ZAWART set CenaMag=round(ZDDOUT_WART_N/Ilosc_Mag,2) where Ilosc_Mag<>0
Create table [S_KRST] (iddd int identity,SYMBOL_KRST Text (12),NAZWA Text (120),proc1 Single DEFAULT 0,proc2 Single DEFAULT 0 )
INSERT INTO S_KRST (SYMBOL_KRST,NAZWA,proc1,proc2) values ('00','Grunty','0','0')
alter table SRODKI_TRWALE ADD COLUMN [SYMBOL_KRST] Text (12)
update SRODKI_TRWALE set SYMBOL_KRST=''
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (186,'Ilość kilometrów','Ilość km.')
create table [KADRY_UMOWYS] (countt int identity, ID_PRAC int DEFAULT 0, Numer Text (10), Limit int DEFAULT 0, Termin Text (2), Data SmallDateTime DEFAULT null,dataod SmallDateTime DEFAULT null, datado SmallDateTime DEFAULT null ,Miejscowosc Text (30), ImieR Text (30), NazwiskoR Text (30), NumerRej Text (8), Marka Text (30), Pojemnosc int DEFAULT 0, Pracodawca1 Text (64), Pracodawca2 Text (64), Pracownik Text (64), AdresPrac Text (64))
alter table [PLACE_LISTY] ADD COLUMN [Rycz_sam] money DEFAULT 0
alter table S_GRUPY_ZWROTOW add Nazwa_wdr Text (50)
update S_GRUPY_ZWROTOW set Nazwa_wdr='Produkcja Procentowa'
update KH_SCHEMATY_ZAWART set GrupaAsort='' where GrupaAsort='Wszystkie'
update KH_SCHEMATY_ZAWART set Rodz_Aso='PTOSUK' where Rodz_Aso<>'PTOSUK' and (SYMBOL_SCH='DAR' or SYMBOL_SCH='FIS' or SYMBOL_SCH='KSP' or SYMBOL_SCH='PAR' or SYMBOL_SCH='SPR')
create table [KH_SCHEMATY_CONNECT] (countt int identity, RODZAJDOK Text (5), IDRODZAJU int DEFAULT 0, SCHEMAT Text (20))
update Cenniki_zawart set DrugaCena=0
update DOK_DD_ZAWART set CENA_N_2=0
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (196,'Składka zdrowotna nieodliczana','Skł.zdr.n.odl.')
INSERT INTO [place_opisy] (POLE,OPIS,SKR) values (197,'Składka zdrowotna nieodliczana','Skł.zdr.n.odl.')
UPDATE DOK_PRO_ZAWART AS DPZ INNER JOIN PRODUKTY_RECEPTURY AS PR ON DPZ.PROD_ID=PR.PROD_ID SET DPZ.ID_RECEPTURY=PR.ID_RECEPTURY WHERE (DPZ.ID_RECEPTURY=0 OR DPZ.ID_RECEPTURY IS NULL) AND PR.ACTIVE=-1
UPDATE DOK_PRO_ZAWART AS DPZ INNER JOIN PRODUKTY_RECEPTURY AS PR ON DPZ.PROD_ID=PR.PROD_ID SET DPZ.ID_RECEPTURY=PR.ID_RECEPTURY WHERE (DPZ.ID_RECEPTURY=0 OR DPZ.ID_RECEPTURY IS NULL) AND PR.ACTIVE=0
UPDATE PRODUKTY set OLD_SWW=mid(prod_sww,1,15)
UPDATE DOK_FAK_ZAWART set CENA_B_RABATU=ZFAKOUT_CENA_N
update KADRY_ZAS set DataOd=data
update KADRY_ZAS set DataDo=data
drop table PLACE_ZESTAWIENIA
drop table D_PLACE_ZESTAWIENIA_ZAWART
drop table D_PLACE_ZESTAWIENIA_ZAWART_SUMY
INSERT INTO PLACE_OPISY (POLE,OPIS,SKR) values (198,'Dni przepracowane','Dni przepr.')
INSERT INTO PLACE_OPISY (POLE,OPIS,SKR) values (199,'Stawka dzienna deputatu','Stawka dep.')
INSERT INTO PLACE_OPISY (POLE,OPIS,SKR) values (200,'Deputat','Deputat')
INSERT INTO PLACE_OPISY (POLE,OPIS,SKR) values (201,'Premia motywacyjna','Premia mot.')
Delete  * from DOK_FAK_ZAWART where  DOK_FAK_ZAWART.PROD_ID<0
Create table [S_Inne] (ID_slownka int DEFAULT 0,countt int identity,Nazwa Text (255))
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  1,Powiat from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  2,Region from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  3,KONH_miejscowosc from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  4,konh_naz_bank from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  5,Przedstawiciel from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  6,Podpis from kontrahenci
Create table [Kontrahenci_kontakty] (Konh_id int DEFAULT 0,countt int identity,Nazwisko Text (100),Telefon Text (100),Email  Text (100))
delete from  s_inne WHERE ID_slownka=4
Select DOK_REI_ZAWART.COUNTT,DOK_REI_ZAWART_1.COUNTT  FROM DOK_REI_ZAWART INNER JOIN DOK_REI_ZAWART AS DOK_REI_ZAWART_1 ON (DOK_REI_ZAWART.CENA = DOK_REI_ZAWART_1.CENA) AND (DOK_REI_ZAWART.ID = DOK_REI_ZAWART_1.ID) AND (DOK_REI_ZAWART.ID_RI = DOK_REI_ZAWART_1.ID_RI) Where (((DOK_REI_ZAWART.countt) < [DOK_REI_ZAWART_1].[countt]))
Update PRODUKTY set prod_kod_ean2='' where prod_kod_ean2 is null
Update DOK_FIN_ZAWART set Brutto_dokumentu=-Brutto_dokumentu where Brutto_dokumentu<0
drop table Stany_magazynowe_zawart
drop table DOWODY_DOSTAW_ROZLICZANIE
drop table KONTA_BANKOWE
drop table PRAC_KIER
drop table REJESTR_VAT
Update PRODUKTY set prod_kod_ean5='' where prod_kod_ean5 is null
Update PRODUKTY set prod_kod5='' where prod_kod5 is null
delete * from KADRY_SWIADECTWA where trim$(sposobRozw)=''
delete k1.* from KADRY_SWIADECTWA as k1 inner join KADRY_SWIADECTWA as k2 on k1.ID_PRAC=k2.ID_PRAC and k1.ID_UMOWY=k2.ID_UMOWY and  k1.data=k2.data where k1.countt<k2.countt
update KADRY_WARUNKI set Dataod=format(Dataod,'dd-MM-yyyy')
alter table DOK_FIN_ZAWART add WART_KP_ARCH money DEFAULT 0
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  8,nr_konta_kasowego from kontrahenci
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  9,KontoP_wn from DOK_FIN
insert into [S_Inne] (ID_slownka,Nazwa) select  distinct  10,KontoP_ma from DOK_FIN
update kpir_okresy set KoniecSp=Koniec,KoniecZa=Koniec,KoniecFi=Koniec,KoniecMa=Koniec,KoniecPr=Koniec,KoniecKa=Koniec,KoniecPl=Koniec,KoniecKs=Koniec
drop table PLACE_ZESTAWIENIA_ZAWART
drop table PLACE_ZESTAWIENIA_ZAWART_SUMY
update KH_RACHUNEK as t set t.p1=44 where t.id_poz=47
update KH_RACHUNEK as t set t.p1=0 where t.id_poz=38
update KH_RACHUNEK as t set t.p1=0 where t.id_poz=39
Update DOK_KFA_ZAWART   inner join Produkty ON dok_kfa_zawart.prod_id=produkty.prod_id set DOK_KFA_ZAWART.VAT_ORG=produkty.STVAT_ID
Update (DOK_FAK_ZAWART  as dok inner join DOK_KFA_ZAWART ON dok_kfa_zawart.FAKOUT_ID_Z=dok.FAKOUT_ID and dok_kfa_zawart.prod_id=dok.prod_id and dok_kfa_zawart.CENA_ORG=dok.ZFAKOUT_CENA_N) inner join DOK_FAK on dok_fak.fakout_id=dok.fakout_id set DOK_KFA_ZAWART.VAT_ORG=dok.ZFAKOUT_VAT,DOK_KFA_ZAWART.Numer_faktury=dok_fak.FAKOUT_NUMER
Update DOK_ZAK_ZAWART  set dok_zak_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1
Update DOK_ZAK_ZAWART inner join PRODUKTY_WSP_PRZEL on (dok_zak_zawart.sur_id=PRODUKTY_WSP_PRZEL.prod_id and dok_zak_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set dok_zak_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL
Update DOK_PZ_ZAWART  set dok_PZ_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1
Update DOK_PZ_ZAWART inner join PRODUKTY_WSP_PRZEL on (dok_PZ_zawart.PROD_id=PRODUKTY_WSP_PRZEL.prod_id and dok_PZ_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set dok_PZ_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL
Update DOK_WZ_ZAWART  set dok_wZ_zawart.SP_PRZEL='Brak' where WSP_PRZEL=1
Update DOK_WZ_ZAWART inner join PRODUKTY_WSP_PRZEL on (dok_wZ_zawart.PROD_id=PRODUKTY_WSP_PRZEL.prod_id and dok_wZ_zawart.WSP_PRZEL=PRODUKTY_WSP_PRZEL.WSP_PRZEL) set dok_wZ_zawart.SP_PRZEL=PRODUKTY_WSP_PRZEL.SP_PRZEL
Drop table KONTRAHENCI_KOPIA
Drop table KH_KONTA_KOPIA
create table S_KONF_ZEST (ID int identity, nazwa Text (50) , rodzaj Text (50))
create table S_KONF_ZEST_ZAWART (ID int DEFAULT 0, numer_obiektu int DEFAULT 0, kod_ustawienia int DEFAULT 0)
Update DOK_ZAK_ZAWART set ZID_GRPROD=0 where ZID_GRPROD is null
Update DOK_ZAK_ZAWART set ID_SKLEPU=0 where ID_SKLEPU is null
Update UZYTKOWNICY_PRAWA set PRAWO='KOMIESIAC' where ucase(PRAWO)='KPMIESIAC'
Update UZYTKOWNICY_PRAWA set PRAWO='KOROK' where ucase(PRAWO)='KPROK'
Update PLACE_LISTY_ZAWART inner join KONTRAHENCI on PLACE_LISTY_ZAWART.idp=KONTRAHENCI.KONH_id  set place_listy_zawart.kategoria=kontrahenci.kategoria
INSERT INTO PLACE_OPISY (POLE,OPIS,SKR) values (203,'Dodatki inne','Dodatki inne')
