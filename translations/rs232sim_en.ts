<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="hu_HU">
<context>
    <name>CaptureTexts</name>
    <message>
        <source>a fájl a deklarációk vége előtt véget ér (nincs benne $enddefinitions)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a fájl egy deklaráció közepén véget ér</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a fájl egy jelváltás közepén véget ér</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az időegysége ($timescale) nem értelmezhető</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nem adja meg az időegységét (nincs benne $timescale)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>egy $var deklarációjából hiányzik a szélesség, a kód vagy a név</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az időbélyegei visszafelé haladnak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>egy időbélyege nem egész szám</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” CSV-fájl első oszlopa az idő. A program csak olyan CSV-fájlt olvas, amelynek oszlopai egy-egy csatorna állandó mintavételi frekvenciával vett mintái (a frekvencia a fájl „; Samplerate:” megjegyzéséből vagy a megnyitáskor megadva); időoszlopot nem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs ilyen mappa vagy fájl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs hozzá olvasási jogosultság</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>olvasási hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” nem olvasható: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” üres fájl, nincs benne mérés.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mappa, nem mérésfájl.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” túl nagy: a jelváltásai nem férnek el a memóriában.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” nem logikai analizátoros mérés, vagy olyan formátumú, amelyet a program nem ismer (sigrok munkamenet .sr, VCD, CSV).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” sérült vagy csonka, nem olvasható végig.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs logikai csatorna.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs „%2” nevű csatorna.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérésnek 64-nél több logikai csatornája van, a program legfeljebb 64-et olvas.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” nem adja meg a mintavételi frekvenciát (0 Hz), így a jelváltások ideje nem számolható ki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs egyetlen minta sem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérés egyik csatornája sem vált szintet: nincs benne soros jel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” mérés „%2” csatornája egyszer sem vált szintet: nincs rajta soros jel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” beolvasása megszakadt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” nem nyitható meg.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mérés: „%1” (%2), csatorna: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 minta, %2 mintavétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, hossza %1 µs.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az impulzusszélességekből mért sebesség: %1 bit/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, a legközelebbi szabványos sebesség %1 bit/s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, 2 %-on belül nincs szabványos sebesség.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg: a jelnek csak %1 éle van, legalább %2 kell.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg: az impulzusok szélessége nem egy bitidő egész számú többszöröse.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> A vevő %1 bit/s-mal olvas.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChannelResultPanel</name>
    <message>
        <source>%1. csatorna</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Érkezett adatok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop színminta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatkommunikáció eredménye</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChannelSettingsPanel</name>
    <message>
        <source>1. lap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. lap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. csatorna beállításai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kommunikáció általános beállításai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatküldés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bekapcsolva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kikapcsolva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handshake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tiltott</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>engedélyezett</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Késleltetés:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>adás késleltetés típus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bitidő (bit)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>idő (µs)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>idő (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A késleltetés a 0ms szinkronizációs időpillanattól értendő. Handshake jelek esetén az első időpont, amikor adhat az egység.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag adatai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatátviteli sebesség beállításai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatátviteli sebesség:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mértékegység</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leggyakrabban használt adatátviteli sebességek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag szintű beállítások:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8. bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>egy adatkeret</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop bit hossza</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChartCommands</name>
    <message>
        <source>A grafikon képe nem készíthető el, a vágólap nem változott.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A nyomtatás nem sikerült: a nyomtató nem indítható, vagy visszautasította a nyomtatási feladatot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG kép (*.png);;SVG rajz (*.svg);;PDF dokumentum (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A grafikon PNG, SVG vagy PDF fájlba menthető; a(z) „%1” fájl kiterjesztése egyik sem.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A grafikon nem menthető ide:
%1

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentés fájlba…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CoreTexts</name>
    <message>
        <source>A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során handshake hiba lépett fel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 2. csatorna küldött adatát nem sikerült az 1. csatornának vennie, a nem megfelelő adatátviteli beállítások miatt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 1. csatorna küldött adatát nem sikerült az 2. csatornának vennie, a nem megfelelő adatátviteli beállítások miatt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nem azonos a küldött és a vett bitek száma.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kommunikáció megfelelően működött.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kommunikáció a jelen adatoknál megfelelően működött, de ez nem biztosított minden adatnál, mivel nem megfelelőek a beállítások.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Típus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ért.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>adat bit %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>adat %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop bit (%1 bit)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vasárnap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hétfő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kedd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szerda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>csütörtök</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>péntek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szombat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az adott fájl nem található!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kbps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>µs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataPacketPage</name>
    <message>
        <source>Egyszerűsített nézet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag (nincs paritás)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag (van paritás)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Összetett nézet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag adatai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Összállított adatcsomag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Küldendő adat:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stop bit fixen 1 hosszúságú.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag beállításai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag adatai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adat:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paritás bit beállításai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A paritásbit az adatátviteli hibák kiszűrésére szolgál. Fix (0 vagy 1) érték esetén az adott érték kerül generálásra és ellenőrzésre. Páros, illetve páratlan paritás esetén a paritásbit az adatbitekben található egyesek számát párosra (páros paritás) vagy páratlanra (páratlan paritás) egészíti ki.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop bit beállításai:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop bit hossza</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stop bit hosszának állításával a keretek közti szünet hossza állítható.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag tartalma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>színminta</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileReasons</name>
    <message>
        <source>nincs ilyen mappa vagy fájl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nincs hozzá írási jogosultság</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>betelt a lemez</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a fájlrendszer csak olvasható</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>A képernyő felbontás nem megfelelő! A program működéséhez minimálisan szükséges: 1280x1024 vagy 1440x900 (16 bit) képernyőfelbontás.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program kezelés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nyomtató beállításai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kilépés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS232 modul</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatcsomag szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adásvétel szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Súgó</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Súgó megnyitása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Névjegy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A program angol fordítása nem tölthető be.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Topológiai leírás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bájtfolyam szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kérem válasszon egyet az alábbiak közül:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS232 adatcsomag felépítése</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS232 adatátvitel beállítása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS232 bájtfolyam-szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A kiválasztott elem leírása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A súgót a programhoz mellékelt pdf fájl tartalmazza.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A súgó fájl (%1) nem található sem itt: %2, sem a program mellett: %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A súgót nem sikerült megnyitni. A fájl itt található:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ZUNT QELMOS-RS232 V1.00 RS232 kommunikációs szimulátor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>Hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Figyelmeztetés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Információ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nyomtató beállításai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oldalbeállítás…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nyomtató:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs telepített nyomtató; a nyomtatás párbeszédablakában PDF fájlba is lehet nyomtatni.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Megnyitás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentés fájlba</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamChartPanel</name>
    <message>
        <source>Küldött</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vonal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minták</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keretek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vonal mentése (VCD)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>görgő: görgetés · Ctrl+görgő: nagyítás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kétszer akkora időtartam</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feleakkora időtartam</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamPage</name>
    <message>
        <source>A vonal jelalakja nem menthető ide:
%1

%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logikai analizátor mérései (*.sr *.vcd *.csv);;sigrok munkamenet (*.sr);;Value Change Dump (*.vcd);;CSV (*.csv);;Minden fájl (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mérés megnyitása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„%1” beolvasása…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 él)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mért sebesség: %1 bit/s (szabványos: %2 bit/s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mért sebesség: %1 bit/s (nem szabványos)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamResultsPanel</name>
    <message>
        <source>A vevő tűrési tartománya (%1, %2): %3 … %4 %, ha a zaj jelzés mellett helyes keretet vettnek tekintjük; %5 … %6 %, ha a zaj jelzés is hiba (ahogy a mikrovezérlők adatlapjai számolják)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. Az órajelek aránya (adó/vevő)%1: %2 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, mérve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Felső sáv: a helyesen vett keretek tartománya (zaj jelzés megengedve); alsó sáv: a zaj jelzés nélküli tartomány, ahogy az adatlapok adják.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamSettingsPanel</name>
    <message>
        <source>nincs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>páros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>páratlan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ideális (bitközépen mintavételező)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16× túlmintavételező</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8× túlmintavételező</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bájtok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A bájtok ennyiszer mennek el egymás után</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szöveg:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hex:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ismétlés:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mérés</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A mérés melyik csatornáján van a soros jel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fájl:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Csatorna:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adó</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szünet két keret között, bitidőben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sebesség (bit/s):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Órajel hibája:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatbitek:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paritás:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopbitek:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szünet (bitidő):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vevő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eltérő keretformátum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fajta:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vonal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zavaró impulzusok átlagos száma 100 bitidő alatt (0 = zajmentes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Egy zavaró impulzus szélessége a bitidő százalékában</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Új</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A bájtok után a vonal ennyi bitidőn át 0 szinten marad (0 = nincs)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zaj / 100 bit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impulzus:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mag:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szakadás (bitidő):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vissza a szimulációhoz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mérés megnyitása…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logikai analizátorral felvett soros jel (sigrok munkamenet .sr, VCD, CSV) beolvasása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adó (mérésnél nincs)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A beírt „%1” kívül esik a megengedett tartományon (%2 … %3), ezért %4 lett belőle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) „%1” karakter nincs a Windows-1250 kódlapon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hibás hexadecimális érték: „%1”.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nincs elküldendő bájt: írjon be egy szöveget vagy hexadecimális értékeket.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A(z) %1 érték nem fér el %2 adatbitben.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az adó sebessége 50 és 3 000 000 bit/s közötti egész szám legyen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vevő sebessége 50 és 3 000 000 bit/s közötti egész szám legyen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamTableModel</name>
    <message>
        <source>hamis start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kezdet (µs)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Küldött (hex)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vett (hex)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hiba</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamTexts</name>
    <message>
        <source>Nincs elküldendő bájt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legfeljebb %1 bájt küldhető egyszerre (most %2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>keretezési hiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paritáshiba</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>szakadás (break)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>zaj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hamis start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az ideális vevő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a 16× túlmintavételező vevő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a 8× túlmintavételező vevő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a vevő</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vett keretek: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Küldött bájtok: %1, vett keretek: %2, ebből rossz értékű: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. Keretezési hiba: %1, paritáshiba: %2, zaj: %3, szakadás: %4, hamis start: %5.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stopbit helyén %1, ezért minden keretnél keretezési hibát jelzett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stopbit helyén egyik keretnél sem olvasott 0-t (%1), ezért keretezési hibát nem jelzett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stopbit helyén %1 keretnél %2 (keretezési hiba), %3 keretnél 1-et (%4).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vevő %1 keretet vár, az adó %2 keretet küld: a vevő a bitek egy részét más szerepben olvassa (adatbitnek, paritásnak vagy stopbitnek), mint ahogy az adó küldte.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 … %2 %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A mért jel sebessége nem állapítható meg, ezért nem tudni, mennyire tér el az adó órajele a vevőétől.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A mért jel sebessége pontosan a vevőé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A két órajel pontosan egyezik.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: az adóé %2 %-kal gyorsabb a vevőénél.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az órajelek aránya (adó/vevő) %1 %: az adóé %2 %-kal gyorsabb a vevőénél.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: a vevőé %2 %-kal gyorsabb az adóénál.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az órajelek aránya (adó/vevő) %1 %: a vevőé %2 %-kal gyorsabb az adóénál.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje hosszabb, ezért a kereten belül egyre később mintavételez, és a keret %3. bitjétől (a start bitet is számolva) már a következő bitet olvassa.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a következő start bit 0 szintjét olvasta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a keret utáni szünet vagy második stopbit 1 szintjét</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a stopbit utolsó mintája már a stopbit utánra esik, ezért ha rögtön a következő start bit jön, a vevő annak élét csak késve veszi észre, és a késés keretről keretre nő, míg egy stopbit helyén a következő start bit 0 szintjét olvassa.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ebben a futásban ez nem okozott hibát: a keretek közötti 1 szint (szünet vagy második stopbit) alatt a vevő minden start élt időben észrevett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje rövidebb, ezért egyre korábban mintavételez, és a keret %3. bitjétől (a start bitet is számolva) még az előző bitet olvassa, így a stopbit helyén az utolsó adat- vagy paritásbitet látja.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ez 0 volt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>az utolsó adat- vagy paritásbit 1 volt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ez belül van %1 tűrési tartományán (%2), és minden start bit újra szinkronizálja a vevőt, így az eltérés keretről keretre nem adódik össze.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>A vonalon %1 zavaró impulzus volt.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Az ideális vevő bitenként egyetlen mintát vesz, ezért egy zavar, amely éppen a bit közepére esik, rossz bitet ad; a túlmintavételező vevő három minta többségével dönt, és az ilyen rövid zavart kiszűri.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>A szünetben érkező zavar %1 hamis startot okozott: a vevő a start bit közepén 1-et olvasott, és tovább várt.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben egy rövid impulzus miatt a három minta nem egyezett (zaj jelzés), de a többség döntött.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A vevő %1 keretben szavazással kiszűrte a zavart (zaj jelzés): a három minta nem egyezett, de a többség a helyes bitet adta.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a vevő zajt jelzett, de a zavar a többséget is elrontotta: a keret hibás.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a zaj jelzést nem zavar okozta, hanem a bitek határa: egy bit három mintája közé a vonal egy éle esett, mert a jel bitideje nem egyezik a vevőével, így a minták egy része már a szomszédos bitet olvasta.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a zaj jelzést nem zavar okozta, hanem a két órajel eltérése: egy bit három mintája közé a bitek határa esett, így a minták egy része már a szomszédos bitet olvasta.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>A bájtok után a vonal hosszan 0 szinten maradt: ezt a vevő szakadásnak (break) ismeri fel, mert a keret minden bitje, a stopbit is, 0. A szakadást nem számítjuk rossz értékű keretnek.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A vevő minden keretet hibátlanul vett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 keretnél jelzett keretezési vagy paritáshibát a vevő.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Minden keret a helyes értékkel megérkezett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden keret hibátlanul megérkezett.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás; a vevő mindegyiknél jelzett valamilyen hibát.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás, és a vevő egyiknél sem jelzett hibát: ezeket a hibákat csak a küldött bájtokkal összevetve lehet észrevenni.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás: %2 keretnél jelzett hibát a vevő, %3 keretnél semmilyet.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minden keret értéke helyes, de %1 keretnél keretezési vagy paritáshibát jelzett a vevő.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TopologyPage</name>
    <message>
        <source>RS232 topológiai leírás</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransmitReceivePage</name>
    <message>
        <source>Szimuláció leírása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. csatorna beállításai</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatkommunikáció eredménye</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. csatorna</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RS232 szimuláció leírás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna küldött</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. csatorna küldött</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna mintavétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. csatorna mintavétel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna vett (2. cs. küldött)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2. csatorna vett (1. cs. küldött)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna RTS/         2. csatorna CTS jel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1. csatorna CTS/         2. csatorna RTS jel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Handshake viszonyok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adatkommunikáció összefoglalása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jelalakok mentése (VCD)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Színmagyarázat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>adat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paritás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>busz tétlen/vár</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Szimulációs folyamat elindítása</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A jelalakok nem menthetők ide:
%1

%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>form</name>
    <message>
        <source>Az adatok LSB...MSB (legkisebb helyértéktől a legnagyobbig) sorrendben kerülnek átküldésre.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>adatcsomag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mintavétel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>texts</name>
    <message>
        <source>nincs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fix &quot;0&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fix &quot;1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>páros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>páratlan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1,5 bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nézet másolása        </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nézet nyomtatása     </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A start bitnek minden esetben &quot;0&quot; szintűnek kell lennie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minden adatkeretben 1 bájtnyi (8 bit) információ kerül átküldésre. Az átküldött bitek sorrendje LSB...MSB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A paritás bit az adatátvitel biztonságát növeli. A paritás bit értékét lehet fixre és adattól függő értékre állítani. Fix típusú paritásbit esetén lehet &quot;0&quot; vagy &quot;1&quot; az értéke. Az adatoktól függő típus esetén az adatban található egyesek számát párosra vagy páratlanra egészíti ki. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A stop bitnek minden esetben &quot;1&quot; szintűnek kell lennie. A stop bit hosszának módosításával az adatkeretek elküldése közti szünet növelhető.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
