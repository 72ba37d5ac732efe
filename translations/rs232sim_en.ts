<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="hu_HU">
<context>
    <name>CaptureTexts</name>
    <message>
        <source>a fájl a deklarációk vége előtt véget ér (nincs benne $enddefinitions)</source>
        <translation>the file ends before the end of its declarations (it has no $enddefinitions)</translation>
    </message>
    <message>
        <source>a fájl egy deklaráció közepén véget ér</source>
        <translation>the file ends in the middle of a declaration</translation>
    </message>
    <message>
        <source>a fájl egy jelváltás közepén véget ér</source>
        <translation>the file ends in the middle of a value change</translation>
    </message>
    <message>
        <source>az időegysége ($timescale) nem értelmezhető</source>
        <translation>its time unit ($timescale) cannot be read</translation>
    </message>
    <message>
        <source>nem adja meg az időegységét (nincs benne $timescale)</source>
        <translation>it does not give its time unit (it has no $timescale)</translation>
    </message>
    <message>
        <source>egy $var deklarációjából hiányzik a szélesség, a kód vagy a név</source>
        <translation>a $var declaration lacks its width, code or name</translation>
    </message>
    <message>
        <source>az időbélyegei visszafelé haladnak</source>
        <translation>its time stamps go backwards</translation>
    </message>
    <message>
        <source>egy időbélyege nem egész szám</source>
        <translation>one of its time stamps is not a whole number</translation>
    </message>
    <message>
        <source>A(z) „%1” CSV-fájl első oszlopa az idő. A program csak olyan CSV-fájlt olvas, amelynek oszlopai egy-egy csatorna állandó mintavételi frekvenciával vett mintái (a frekvencia a fájl „; Samplerate:” megjegyzéséből vagy a megnyitáskor megadva); időoszlopot nem.</source>
        <translation>The first column of the CSV file “%1” is time. The program reads only CSV files whose columns are the samples of one channel each, taken at a fixed sample rate (the rate from the file’s “; Samplerate:” comment or given when opening it); not a time column.</translation>
    </message>
    <message>
        <source>nincs ilyen mappa vagy fájl</source>
        <translation>no such folder or file</translation>
    </message>
    <message>
        <source>nincs hozzá olvasási jogosultság</source>
        <translation>no permission to read it</translation>
    </message>
    <message>
        <source>olvasási hiba</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>A(z) „%1” nem olvasható: %2.</source>
        <translation>“%1” cannot be read: %2.</translation>
    </message>
    <message>
        <source>A(z) „%1” üres fájl, nincs benne mérés.</source>
        <translation>“%1” is an empty file with no capture in it.</translation>
    </message>
    <message>
        <source>A(z) „%1” mappa, nem mérésfájl.</source>
        <translation>“%1” is a folder, not a capture file.</translation>
    </message>
    <message>
        <source>A(z) „%1” túl nagy: a jelváltásai nem férnek el a memóriában.</source>
        <translation>“%1” is too large: its value changes do not fit in memory.</translation>
    </message>
    <message>
        <source>A(z) „%1” nem logikai analizátoros mérés, vagy olyan formátumú, amelyet a program nem ismer (sigrok munkamenet .sr, VCD, CSV).</source>
        <translation>“%1” is not a logic analyser capture, or it is in a format the program does not know (sigrok session .sr, VCD, CSV).</translation>
    </message>
    <message>
        <source>A(z) „%1” sérült vagy csonka, nem olvasható végig.</source>
        <translation>“%1” is damaged or cut short and cannot be read to its end.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs logikai csatorna.</source>
        <translation>The capture “%1” has no logic channel.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs „%2” nevű csatorna.</source>
        <translation>The capture “%1” has no channel named “%2”.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérésnek 64-nél több logikai csatornája van, a program legfeljebb 64-et olvas.</source>
        <translation>The capture “%1” has more than 64 logic channels; the program reads 64 at most.</translation>
    </message>
    <message>
        <source>A(z) „%1” nem adja meg a mintavételi frekvenciát (0 Hz), így a jelváltások ideje nem számolható ki.</source>
        <translation>“%1” does not give its sample rate (0 Hz), so the times of its value changes cannot be worked out.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérésben nincs egyetlen minta sem.</source>
        <translation>The capture “%1” has no samples at all.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérés egyik csatornája sem vált szintet: nincs benne soros jel.</source>
        <translation>No channel of the capture “%1” ever changes level: there is no serial signal in it.</translation>
    </message>
    <message>
        <source>A(z) „%1” mérés „%2” csatornája egyszer sem vált szintet: nincs rajta soros jel.</source>
        <translation>Channel “%2” of the capture “%1” never changes level: there is no serial signal on it.</translation>
    </message>
    <message>
        <source>A(z) „%1” beolvasása megszakadt.</source>
        <translation>Reading “%1” was cancelled.</translation>
    </message>
    <message>
        <source>A(z) „%1” nem nyitható meg.</source>
        <translation>“%1” cannot be opened.</translation>
    </message>
    <message>
        <source>Mérés: „%1” (%2), csatorna: %3</source>
        <translation>Capture: “%1” (%2), channel: %3</translation>
    </message>
    <message>
        <source>, %1 minta, %2 mintavétel</source>
        <translation>, %1 samples at %2</translation>
    </message>
    <message>
        <source>, hossza %1 µs.</source>
        <translation>, %1 µs long.</translation>
    </message>
    <message>
        <source>Az impulzusszélességekből mért sebesség: %1 bps</source>
        <translation>Rate measured from the pulse widths: %1 bit/s</translation>
    </message>
    <message>
        <source>, a legközelebbi szabványos sebesség %1 bps.</source>
        <translation>, the nearest standard rate is %1 bit/s.</translation>
    </message>
    <message>
        <source>, 2 %-on belül nincs szabványos sebesség.</source>
        <translation>, no standard rate within 2 %.</translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg: a jelnek csak %1 éle van, legalább %2 kell.</source>
        <translation>The rate cannot be told: the signal has only %1 edges, at least %2 are needed.</translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg: az impulzusok szélessége nem egy bitidő egész számú többszöröse.</source>
        <translation>The rate cannot be told: the pulse widths are not whole multiples of one bit time.</translation>
    </message>
    <message>
        <source> A vevő %1 bps-sel olvas.</source>
        <translation> The receiver reads at %1 bit/s.</translation>
    </message>
    <message>
        <source>a hosszú szünetei 0 szinten vannak</source>
        <translation>its long idle stretches are at 0</translation>
    </message>
    <message>
        <source>az eleje és a vége 0 szinten van</source>
        <translation>its beginning and end are at 0</translation>
    </message>
    <message>
        <source>A vonal 0 szinten nyugszik (%1), ahogy az RS232 oldalon, egy vonalmeghajtó után mérve látszik: a vevő invertálva olvassa.</source>
        <translation>The line rests at 0 (%1), as it looks on the RS232 side, measured after a line driver: the receiver reads it inverted.</translation>
    </message>
    <message>
        <source>A vonal 1 szinten nyugszik, de kézzel invertálva olvasva.</source>
        <translation>The line rests at 1, but it is read inverted by hand.</translation>
    </message>
    <message>
        <source>A vonal 0 szinten nyugszik, de kézzel invertálás nélkül olvasva.</source>
        <translation>The line rests at 0, but it is read without inversion by hand.</translation>
    </message>
    <message>
        <source>Felismert keretformátum %1: %2 keret</source>
        <translation>Framing found %1: %2 frames</translation>
    </message>
    <message>
        <source>, a paritás mindegyikben helyes</source>
        <translation>, the parity right in every one</translation>
    </message>
    <message>
        <source>, a paritás %1 kivételével mindegyikben helyes</source>
        <translation>, the parity right in all but %1</translation>
    </message>
    <message>
        <source>; %1-ként olvasva a %2. bit lenne a paritás</source>
        <translation>; read as %1, bit %2 would be the parity</translation>
    </message>
    <message>
        <source>; a %1. bit mindig %2: adat, nem %3 paritás (%4)</source>
        <translation>; bit %1 is always %2: data, not %3 parity (%4)</translation>
    </message>
    <message>
        <source>1 értékű</source>
        <translation>1</translation>
    </message>
    <message>
        <source>0 értékű</source>
        <translation>0</translation>
    </message>
    <message>
        <source>, kerethiba nélkül</source>
        <translation>, with no framing error</translation>
    </message>
    <message>
        <source>; %1 kerethiba bármelyik formátummal</source>
        <translation>; %1 framing errors with any framing</translation>
    </message>
    <message>
        <source>; %1 mindegyikben, %2 keretből %3 közvetlenül utána következik</source>
        <translation>; %1 in every frame, %3 of %2 frames follow straight after it</translation>
    </message>
    <message>
        <source>második stop bit</source>
        <translation>a second stop bit</translation>
    </message>
    <message>
        <source>fél stop bittel több</source>
        <translation>half a stop bit more</translation>
    </message>
    <message>
        <source> (az első %1 él alapján)</source>
        <translation> (from the first %1 edges)</translation>
    </message>
    <message>
        <source>A keretformátum nem ismerhető fel: egyik formátum (5–9 adatbit, paritás nélkül vagy paritással, 1, 1,5 vagy 2 stop bit) sem olvassa a vonalat kerethiba nélkül, vagy kevés keret van rajta. A vevő sebessége is lehet rossz.</source>
        <translation>The framing cannot be told: no framing (5–9 data bits, with or without parity, 1, 1.5 or 2 stop bits) reads the line without framing errors, or it holds too few frames. The receiver’s rate may be wrong, too.</translation>
    </message>
    <message>
        <source>a sigrok munkameneteket (.sr) és a CSV-fájlokat a libsigrok könyvtár olvassa, és a felvételt szintén az végzi, ennek pedig nincs Windowsra fordított változata.</source>
        <translation>sigrok sessions (.sr) and CSV files are read, and recordings made, by the libsigrok library, which has no Windows build.</translation>
    </message>
    <message>
        <source>Logikai analizátor mérései (*.sr *.vcd *.csv);;sigrok munkamenet (*.sr);;Value Change Dump (*.vcd);;CSV (*.csv);;Minden fájl (*)</source>
        <translation>Logic analyser captures (*.sr *.vcd *.csv);;sigrok session (*.sr);;Value Change Dump (*.vcd);;CSV (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>Value Change Dump (*.vcd);;Minden fájl (*)</source>
        <translation>Value Change Dump (*.vcd);;All files (*)</translation>
    </message>
    <message>
        <source>Logikai analizátorral felvett soros jel (sigrok munkamenet .sr, VCD, CSV) beolvasása</source>
        <translation>Read a serial signal recorded with a logic analyser (sigrok session .sr, VCD, CSV)</translation>
    </message>
    <message>
        <source>Logikai analizátorral felvett soros jel beolvasása VCD-fájlból. A program ezen változata csak VCD-t olvas: %1</source>
        <translation>Read a serial signal recorded with a logic analyser from a VCD file. This version of the program reads VCD only: %1</translation>
    </message>
    <message>
        <source>Soros jel felvétele logikai analizátorral (libsigrok), majd megnyitása mérésként</source>
        <translation>Record a serial signal with a logic analyser (libsigrok), then open it as a capture</translation>
    </message>
    <message>
        <source>A program ezen változata nem vesz fel: %1</source>
        <translation>This version of the program does not record: %1</translation>
    </message>
    <message>
        <source>A(z) „%1” nem VCD-fájl, a program ezen változata pedig csak VCD-méréseket olvas.</source>
        <translation>“%1” is not a VCD file, and this version of the program reads VCD captures only.</translation>
    </message>
    <message>
        <source>A(z) „%1” %2, ezt a program ezen változata nem olvassa: %3 Mentse a mérést VCD-ként, azt megnyitja.</source>
        <translation>“%1” is a %2, which this version of the program does not read: %3 Save the capture as VCD, which it opens.</translation>
    </message>
    <message>
        <source>CSV-fájl</source>
        <translation>CSV file</translation>
    </message>
    <message>
        <source>sigrok munkamenet</source>
        <translation>sigrok session</translation>
    </message>
    <message>
        <source>A keretformátum felismerése nem fér el a memóriában.</source>
        <translation>Recognising the frame format does not fit in memory.</translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg: az impulzusokból mért sebesség kívül esik a %1 … %2 bps tartományon.</source>
        <translation>The rate cannot be told: the rate measured from the pulses lies outside %1 … %2 bps.</translation>
    </message>
</context>
<context>
    <name>ChannelResultPanel</name>
    <message>
        <source>%1. csatorna</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Érkezett adatok</source>
        <translation>Received data</translation>
    </message>
    <message>
        <source>stop színminta</source>
        <translation>stop colour sample</translation>
    </message>
    <message>
        <source>Adatkommunikáció eredménye</source>
        <translation>Result of the data exchange</translation>
    </message>
</context>
<context>
    <name>ChannelSettingsPanel</name>
    <message>
        <source>1. lap</source>
        <translation>Page 1</translation>
    </message>
    <message>
        <source>2. lap</source>
        <translation>Page 2</translation>
    </message>
    <message>
        <source>%1. csatorna beállításai</source>
        <translation>Channel %1 settings</translation>
    </message>
    <message>
        <source>Kommunikáció általános beállításai:</source>
        <translation>General communication settings:</translation>
    </message>
    <message>
        <source>Adatküldés</source>
        <translation>Sending data</translation>
    </message>
    <message>
        <source>bekapcsolva</source>
        <translation>on</translation>
    </message>
    <message>
        <source>kikapcsolva</source>
        <translation>off</translation>
    </message>
    <message>
        <source>Handshake</source>
        <translation>Handshake</translation>
    </message>
    <message>
        <source>tiltott</source>
        <translation>disabled</translation>
    </message>
    <message>
        <source>engedélyezett</source>
        <translation>enabled</translation>
    </message>
    <message>
        <source>Késleltetés:</source>
        <translation>Delay:</translation>
    </message>
    <message>
        <source>adás késleltetés típus</source>
        <translation>transmit delay unit</translation>
    </message>
    <message>
        <source>bitidő (bit)</source>
        <translation>bit times (bit)</translation>
    </message>
    <message>
        <source>idő (µs)</source>
        <translation>time (µs)</translation>
    </message>
    <message>
        <source>idő (ms)</source>
        <translation>time (ms)</translation>
    </message>
    <message>
        <source>A késleltetés a 0ms szinkronizációs időpillanattól értendő. Handshake jelek esetén az első időpont, amikor adhat az egység.</source>
        <translation>The delay counts from the synchronising instant at 0 ms. With handshake signals it is the first instant at which the unit may transmit.</translation>
    </message>
    <message>
        <source>Adatcsomag adatai:</source>
        <translation>Data packet details:</translation>
    </message>
    <message>
        <source>Adat</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Adatátviteli sebesség beállításai:</source>
        <translation>Transmission speed settings:</translation>
    </message>
    <message>
        <source>Adatátviteli sebesség:</source>
        <translation>Transmission speed:</translation>
    </message>
    <message>
        <source>mértékegység</source>
        <translation>unit</translation>
    </message>
    <message>
        <source>Leggyakrabban használt adatátviteli sebességek</source>
        <translation>Most common transmission speeds</translation>
    </message>
    <message>
        <source>Adatcsomag szintű beállítások:</source>
        <translation>Data packet settings:</translation>
    </message>
    <message>
        <source>start bit</source>
        <translation>start bit</translation>
    </message>
    <message>
        <source>1. bit</source>
        <translation>bit 1</translation>
    </message>
    <message>
        <source>2. bit</source>
        <translation>bit 2</translation>
    </message>
    <message>
        <source>3. bit</source>
        <translation>bit 3</translation>
    </message>
    <message>
        <source>4. bit</source>
        <translation>bit 4</translation>
    </message>
    <message>
        <source>5. bit</source>
        <translation>bit 5</translation>
    </message>
    <message>
        <source>6. bit</source>
        <translation>bit 6</translation>
    </message>
    <message>
        <source>7. bit</source>
        <translation>bit 7</translation>
    </message>
    <message>
        <source>8. bit</source>
        <translation>bit 8</translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation>parity bit</translation>
    </message>
    <message>
        <source>stop bit</source>
        <translation>stop bit</translation>
    </message>
    <message>
        <source>egy adatkeret</source>
        <translation>one data frame</translation>
    </message>
    <message>
        <source>stop bit hossza</source>
        <translation>stop bit length</translation>
    </message>
</context>
<context>
    <name>ChartCommands</name>
    <message>
        <source>A grafikon képe nem készíthető el, a vágólap nem változott.</source>
        <translation>The chart’s picture cannot be made; the clipboard is unchanged.</translation>
    </message>
    <message>
        <source>A nyomtatás nem sikerült: a nyomtató nem indítható, vagy visszautasította a nyomtatási feladatot.</source>
        <translation>Printing failed: the printer could not be started, or it refused the print job.</translation>
    </message>
    <message>
        <source>PNG kép (*.png);;SVG rajz (*.svg);;PDF dokumentum (*.pdf)</source>
        <translation>PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>A grafikon PNG, SVG vagy PDF fájlba menthető; a(z) „%1” fájl kiterjesztése egyik sem.</source>
        <translation>The chart can be saved to a PNG, SVG or PDF file; the file “%1” has none of these extensions.</translation>
    </message>
    <message>
        <source>A grafikon nem menthető ide:
%1

%2</source>
        <translation>The chart cannot be saved here:
%1

%2</translation>
    </message>
    <message>
        <source>Mentés fájlba…</source>
        <translation>Save to file…</translation>
    </message>
    <message>
        <source>PNG kép (*.png);;PDF dokumentum (*.pdf)</source>
        <translation>PNG image (*.png);;PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>A grafikon PNG vagy PDF fájlba menthető; a(z) „%1” fájl kiterjesztése egyik sem.</source>
        <translation>The chart can be saved as a PNG or PDF file; the extension of “%1” is neither.</translation>
    </message>
</context>
<context>
    <name>CoreTexts</name>
    <message>
        <source>A kommunikáció során ilyen irányú kommunikáció nem volt (sem adás sem vétel).</source>
        <translation>There was no communication in this direction (neither sending nor receiving).</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során handshake hiba lépett fel.</source>
        <translation>ERROR! A handshake error occurred during the communication.</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 2. csatorna küldött adatát nem sikerült az 1. csatornának vennie, a nem megfelelő adatátviteli beállítások miatt.</source>
        <translation>ERROR! A transmission error occurred during the communication. Channel 1 could not receive the data sent by channel 2 because of unsuitable transmission settings.</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során adatátviteli hiba lépett fel. A 1. csatorna küldött adatát nem sikerült az 2. csatornának vennie, a nem megfelelő adatátviteli beállítások miatt.</source>
        <translation>ERROR! A transmission error occurred during the communication. Channel 2 could not receive the data sent by channel 1 because of unsuitable transmission settings.</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során kerethiba lépett fel. (Start/Stop bit nem megfelelő értékű.)</source>
        <translation>ERROR! A framing error occurred during the communication. (The start or stop bit has the wrong value.)</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során nem megfelelő adatokat vett az egység.</source>
        <translation>ERROR! The unit received wrong data during the communication.</translation>
    </message>
    <message>
        <source>HIBA! A kommunikáció során paritáshiba lépett fel. (Paritásbit nem megfelelő értéke.</source>
        <translation>ERROR! A parity error occurred during the communication. (The parity bit has the wrong value.)</translation>
    </message>
    <message>
        <source>Nem azonos a küldött és a vett bitek száma.</source>
        <translation>The numbers of bits sent and received differ.</translation>
    </message>
    <message>
        <source>A kommunikáció megfelelően működött.</source>
        <translation>The communication worked correctly.</translation>
    </message>
    <message>
        <source>A kommunikáció a jelen adatoknál megfelelően működött, de ez nem biztosított minden adatnál, mivel nem megfelelőek a beállítások.</source>
        <translation>The communication worked correctly with this data, but that is not ensured for all data, because the settings are unsuitable.</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Típus</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Ért.</source>
        <translation>Val.</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>start bit</source>
        <translation>start bit</translation>
    </message>
    <message>
        <source>adat bit %1.</source>
        <translation>data bit %1</translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation>parity bit</translation>
    </message>
    <message>
        <source>stop bit</source>
        <translation>stop bit</translation>
    </message>
    <message>
        <source>adat %1.</source>
        <translation>data %1</translation>
    </message>
    <message numerus="yes">
        <source>stop bit (%1 bit)</source>
        <translation>
            <numerusform>stop bit (%1 bit)</numerusform>
            <numerusform>stop bit (%1 bits)</numerusform>
        </translation>
    </message>
    <message>
        <source>vasárnap</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>hétfő</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>kedd</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>szerda</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>csütörtök</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>péntek</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>szombat</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Az adott fájl nem található!</source>
        <translation>The file cannot be found!</translation>
    </message>
    <message>
        <source>%1 bps</source>
        <translation>%1 bps</translation>
    </message>
    <message>
        <source>kbps</source>
        <translation>kbps</translation>
    </message>
    <message>
        <source>bps</source>
        <translation>bps</translation>
    </message>
    <message>
        <source>µs</source>
        <translation>µs</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>bit</source>
        <translation>bit</translation>
    </message>
</context>
<context>
    <name>DataPacketPage</name>
    <message>
        <source>Egyszerűsített nézet</source>
        <translation>Simplified view</translation>
    </message>
    <message>
        <source>Adatcsomag (nincs paritás)</source>
        <translation>Data packet (no parity)</translation>
    </message>
    <message>
        <source>Adatcsomag (van paritás)</source>
        <translation>Data packet (with parity)</translation>
    </message>
    <message>
        <source>Összetett nézet</source>
        <translation>Composite view</translation>
    </message>
    <message>
        <source>Adatcsomag adatai</source>
        <translation>Data packet details</translation>
    </message>
    <message>
        <source>Összállított adatcsomag</source>
        <translation>Assembled data packet</translation>
    </message>
    <message>
        <source>Küldendő adat:</source>
        <translation>Data to send:</translation>
    </message>
    <message>
        <source>A stop bit fixen 1 hosszúságú.</source>
        <translation>The stop bit is fixed at 1 bit long.</translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation>parity bit</translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Adatcsomag beállításai</source>
        <translation>Data packet settings</translation>
    </message>
    <message>
        <source>Adatcsomag adatai:</source>
        <translation>Data packet details:</translation>
    </message>
    <message>
        <source>Adat:</source>
        <translation>Data:</translation>
    </message>
    <message>
        <source>Paritás bit beállításai:</source>
        <translation>Parity bit settings:</translation>
    </message>
    <message>
        <source>A paritásbit az adatátviteli hibák kiszűrésére szolgál. Fix (0 vagy 1) érték esetén az adott érték kerül generálásra és ellenőrzésre. Páros, illetve páratlan paritás esetén a paritásbit az adatbitekben található egyesek számát párosra (páros paritás) vagy páratlanra (páratlan paritás) egészíti ki.</source>
        <translation>The parity bit serves to catch transmission errors. With a fixed value (0 or 1) that value is generated and checked. With even or odd parity the parity bit makes the number of ones in the data bits even (even parity) or odd (odd parity).</translation>
    </message>
    <message>
        <source>Stop bit beállításai:</source>
        <translation>Stop bit settings:</translation>
    </message>
    <message>
        <source>stop bit hossza</source>
        <translation>stop bit length</translation>
    </message>
    <message>
        <source>A stop bit hosszának állításával a keretek közti szünet hossza állítható.</source>
        <translation>Setting the stop bit length sets the length of the pause between frames.</translation>
    </message>
    <message>
        <source>Adatcsomag szimuláció</source>
        <translation>Data packet simulation</translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Adatcsomag tartalma</source>
        <translation>Data packet contents</translation>
    </message>
    <message>
        <source>színminta</source>
        <translation>colour sample</translation>
    </message>
</context>
<context>
    <name>FileReasons</name>
    <message>
        <source>nincs ilyen mappa vagy fájl</source>
        <translation>no such folder or file</translation>
    </message>
    <message>
        <source>nincs hozzá írási jogosultság</source>
        <translation>no permission to write it</translation>
    </message>
    <message>
        <source>betelt a lemez</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>a fájlrendszer csak olvasható</source>
        <translation>the file system is read-only</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>A képernyő felbontás nem megfelelő! A program működéséhez minimálisan szükséges: 1280x1024 vagy 1440x900 (16 bit) képernyőfelbontás.</source>
        <translation>The screen resolution is not suitable! The program needs at least a 1280x1024 or 1440x900 (16 bit) screen resolution.</translation>
    </message>
    <message>
        <source>Program kezelés</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Nyomtató beállításai</source>
        <translation>Printer settings</translation>
    </message>
    <message>
        <source>Kilépés</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>RS232 modul</source>
        <translation>RS232 module</translation>
    </message>
    <message>
        <source>Adatcsomag szimuláció</source>
        <translation>Data packet simulation</translation>
    </message>
    <message>
        <source>Adásvétel szimuláció</source>
        <translation>Transmit/receive simulation</translation>
    </message>
    <message>
        <source>Súgó</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Súgó megnyitása</source>
        <translation>Open help</translation>
    </message>
    <message>
        <source>Névjegy</source>
        <translation>About</translation>
    </message>
    <message>
        <source>A program angol fordítása nem tölthető be.</source>
        <translation>The program’s English translation cannot be loaded.</translation>
    </message>
    <message>
        <source>Topológiai leírás</source>
        <translation>Topology</translation>
    </message>
    <message>
        <source>Bájtfolyam szimuláció</source>
        <translation>Byte string simulation</translation>
    </message>
    <message>
        <source>Kérem válasszon egyet az alábbiak közül:</source>
        <translation>Please choose one of the following:</translation>
    </message>
    <message>
        <source>RS232 adatcsomag felépítése</source>
        <translation>RS232 data packet structure</translation>
    </message>
    <message>
        <source>RS232 adatátvitel beállítása</source>
        <translation>RS232 transmission settings</translation>
    </message>
    <message>
        <source>RS232 bájtfolyam-szimuláció</source>
        <translation>RS232 byte string simulation</translation>
    </message>
    <message>
        <source>A kiválasztott elem leírása</source>
        <translation>Description of the chosen item</translation>
    </message>
    <message>
        <source>A súgót a programhoz mellékelt pdf fájl tartalmazza.</source>
        <translation>The help is in the PDF file that comes with the program.</translation>
    </message>
    <message>
        <source>A súgó fájl (%1) nem található sem itt: %2, sem a program mellett: %3.</source>
        <translation>The help file (%1) is found neither here: %2, nor beside the program: %3.</translation>
    </message>
    <message>
        <source>A súgót nem sikerült megnyitni. A fájl itt található:
%1</source>
        <translation>The help could not be opened. The file is here:
%1</translation>
    </message>
    <message>
        <source>ZUNT QELMOS-RS232 V1.00 RS232 kommunikációs szimulátor</source>
        <translation>ZUNT QELMOS-RS232 V1.00 RS232 communication simulator</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Figyelmeztetés</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Információ</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Nyomtató beállításai</source>
        <translation>Printer settings</translation>
    </message>
    <message>
        <source>Oldalbeállítás…</source>
        <translation>Page setup…</translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nyomtató:</source>
        <translation>Printer:</translation>
    </message>
    <message>
        <source>Nincs telepített nyomtató; a nyomtatás párbeszédablakában PDF fájlba is lehet nyomtatni.</source>
        <translation>No printer is installed; the print dialog can print to a PDF file as well.</translation>
    </message>
    <message>
        <source>Megnyitás</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Mentés fájlba</source>
        <translation>Save to file</translation>
    </message>
</context>
<context>
    <name>RecordDialog</name>
    <message>
        <source>A logikai analizátorokat kezelő könyvtár (libsigrok) nem indul el.</source>
        <translation>The library that drives logic analysers (libsigrok) does not start.</translation>
    </message>
    <message>
        <source>„%1” nem eszközmegadás. Alakja: MEGHAJTÓ vagy MEGHAJTÓ:kulcs=érték, például fx2lafw vagy fx2lafw:conn=1.5.</source>
        <translation>“%1” does not name a device. Its form is DRIVER or DRIVER:key=value, for example fx2lafw or fx2lafw:conn=1.5.</translation>
    </message>
    <message>
        <source>Nincs „%1” nevű meghajtó.</source>
        <translation>There is no driver named “%1”.</translation>
    </message>
    <message>
        <source>A meghajtó nem fogadja el ezt a megadást: %1</source>
        <translation>The driver does not accept this setting: %1</translation>
    </message>
    <message>
        <source>Nem található eszköz: %1.

Csatlakoztassa az analizátort, majd keressen újra.</source>
        <translation>No device found: %1.

Connect the analyser, then search again.</translation>
    </message>
    <message>
        <source>Az eszköz nem nyitható meg: talán nincs jogosultság a használatához, vagy egy másik program használja.</source>
        <translation>The device cannot be opened: perhaps there is no permission to use it, or another program is using it.</translation>
    </message>
    <message>
        <source>Az eszköznek nincs logikai csatornája.</source>
        <translation>The device has no logic channel.</translation>
    </message>
    <message>
        <source>Az eszköznek nincs „%1” nevű csatornája.</source>
        <translation>The device has no channel named “%1”.</translation>
    </message>
    <message>
        <source>Ezt a mintavételi frekvenciát az eszköz nem támogatja: %1 Hz.</source>
        <translation>The device does not support this sample rate: %1 Hz.</translation>
    </message>
    <message>
        <source>Ez az időtartam ennél a mintavételi frekvenciánál nem vehető fel.</source>
        <translation>This duration cannot be recorded at this sample rate.</translation>
    </message>
    <message>
        <source>Az eszköz nem fogadja el ezt a beállítást: %1</source>
        <translation>The device does not accept this setting: %1</translation>
    </message>
    <message>
        <source>Az eszköz nem tud az első lefutó élre indítani.</source>
        <translation>The device cannot start on the first falling edge.</translation>
    </message>
    <message>
        <source>A felvétel megszakadt: talán kihúzták az eszközt.</source>
        <translation>The recording broke off: perhaps the device was unplugged.</translation>
    </message>
    <message>
        <source>A felvételben nincs egyetlen minta sem: az indító lefutó él nem jött meg.</source>
        <translation>The recording holds no samples at all: the falling edge that starts it never came.</translation>
    </message>
    <message>
        <source>A felvétel nem írható az ideiglenes mappába.</source>
        <translation>The recording cannot be written to the temporary folder.</translation>
    </message>
    <message>
        <source>A felvétel nem sikerült.</source>
        <translation>The recording failed.</translation>
    </message>
    <message>
        <source>Felvétel logikai analizátorral</source>
        <translation>Recording with a logic analyser</translation>
    </message>
    <message>
        <source>A megtalált eszközök; más is megadható meghajtó:kulcs=érték alakban, például fx2lafw:conn=1.5</source>
        <translation>The devices found; another can be given as driver:key=value, for example fx2lafw:conn=1.5</translation>
    </message>
    <message>
        <source>Keresés</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>A csatlakoztatott eszközök keresése újra</source>
        <translation>Search again for connected devices</translation>
    </message>
    <message>
        <source>Indítás az első lefutó élre</source>
        <translation>Start on the first falling edge</translation>
    </message>
    <message>
        <source>A felvétel az első start bitnél (a nyugalmi 1 szintről 0-ra váltásnál) kezdődik</source>
        <translation>The recording begins at the first start bit (where the line goes from the idle 1 level to 0)</translation>
    </message>
    <message>
        <source>Felvétel</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Leállítás</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>A felvétel befejezése most: ami eddig felvételre került, megmarad</source>
        <translation>End the recording now: what has been recorded so far is kept</translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Eszköz:</source>
        <translation>Device:</translation>
    </message>
    <message>
        <source>Csatorna:</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>Mintavétel:</source>
        <translation>Sample rate:</translation>
    </message>
    <message>
        <source>Időtartam:</source>
        <translation>Duration:</translation>
    </message>
    <message>
        <source>Eszközök keresése…</source>
        <translation>Searching for devices…</translation>
    </message>
    <message>
        <source>Az eszközök keresése nem sikerült.

%1</source>
        <translation>The search for devices failed.

%1</translation>
    </message>
    <message>
        <source>Nem található eszköz.</source>
        <translation>No device found.</translation>
    </message>
    <message>
        <source>A felvételhez nem hozható létre ideiglenes mappa.

%1</source>
        <translation>No temporary folder can be made for the recording.

%1</translation>
    </message>
    <message>
        <source>Felvétel…</source>
        <translation>Recording…</translation>
    </message>
    <message>
        <source>Leállítás…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>Várakozás az első lefutó élre…</source>
        <translation>Waiting for the first falling edge…</translation>
    </message>
    <message>
        <source>Felvétel: %1 minta</source>
        <translation>Recording: %1 samples</translation>
    </message>
</context>
<context>
    <name>StreamChartPanel</name>
    <message>
        <source>Küldött</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Vonal</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Minták</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>Keretek</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>A vonal mentése (VCD)…</source>
        <translation>Save the line (VCD)…</translation>
    </message>
    <message>
        <source>görgő: görgetés · Ctrl+görgő: nagyítás</source>
        <translation>wheel: scroll · Ctrl+wheel: zoom</translation>
    </message>
    <message>
        <source>Kétszer akkora időtartam</source>
        <translation>Twice the time span</translation>
    </message>
    <message>
        <source>Feleakkora időtartam</source>
        <translation>Half the time span</translation>
    </message>
    <message>
        <source>Vonal inv.</source>
        <translation>Line inv.</translation>
    </message>
</context>
<context>
    <name>StreamPage</name>
    <message>
        <source>A vonal jelalakja nem menthető ide:
%1

%2</source>
        <translation>The line’s waveform cannot be saved here:
%1

%2</translation>
    </message>
    <message>
        <source>Mérés megnyitása</source>
        <translation>Open capture</translation>
    </message>
    <message>
        <source>Mégse</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>„%1” beolvasása…</source>
        <translation>Reading “%1”…</translation>
    </message>
    <message>
        <source>%1 (%2 él)</source>
        <translation>%1 (%2 edges)</translation>
    </message>
    <message>
        <source>A sebesség nem állapítható meg.</source>
        <translation>The rate cannot be told.</translation>
    </message>
    <message>
        <source>Mért sebesség: %1 bps (szabványos: %2 bps)</source>
        <translation>Measured rate: %1 bit/s (standard: %2 bit/s)</translation>
    </message>
    <message>
        <source>Mért sebesség: %1 bps (nem szabványos)</source>
        <translation>Measured rate: %1 bit/s (not standard)</translation>
    </message>
    <message>
        <source>sigrok munkamenet (*.sr)</source>
        <translation>sigrok session (*.sr)</translation>
    </message>
    <message>
        <source>A felvétel nem olvasható az ideiglenes mappából:
%1

%2</source>
        <translation>The recording cannot be read from the temporary folder:
%1

%2</translation>
    </message>
    <message>
        <source>A felvétel nem menthető ide:
%1

%2</source>
        <translation>The recording cannot be saved here:
%1

%2</translation>
    </message>
</context>
<context>
    <name>StreamResultsPanel</name>
    <message>
        <source>A vevő tűrési tartománya (%1, %2): %3 … %4 %, ha a zaj jelzés mellett helyes keretet vettnek tekintjük; %5 … %6 %, ha a zaj jelzés is hiba (ahogy a mikrovezérlők adatlapjai számolják)</source>
        <translation>Tolerance range of the receiver (%1, %2): %3 … %4 % when a right frame with a noise flag counts as received; %5 … %6 % when the noise flag is an error too (as microcontroller datasheets count it)</translation>
    </message>
    <message>
        <source>. Az órajelek aránya (adó/vevő)%1: %2 %</source>
        <translation>. Clock ratio (transmitter/receiver)%1: %2 %</translation>
    </message>
    <message>
        <source>, mérve</source>
        <translation>, measured</translation>
    </message>
    <message>
        <source>Felső sáv: a helyesen vett keretek tartománya (zaj jelzés megengedve); alsó sáv: a zaj jelzés nélküli tartomány, ahogy az adatlapok adják.</source>
        <translation>Upper bar: the range of frames received right (noise flag allowed); lower bar: the range without a noise flag, as datasheets give it.</translation>
    </message>
</context>
<context>
    <name>StreamSettingsPanel</name>
    <message>
        <source>nincs</source>
        <translation>none</translation>
    </message>
    <message>
        <source>páros</source>
        <translation>even</translation>
    </message>
    <message>
        <source>páratlan</source>
        <translation>odd</translation>
    </message>
    <message>
        <source>Ideális (bitközépen mintavételező)</source>
        <translation>Ideal (samples at mid-bit)</translation>
    </message>
    <message>
        <source>16× túlmintavételező</source>
        <translation>16× oversampling</translation>
    </message>
    <message>
        <source>8× túlmintavételező</source>
        <translation>8× oversampling</translation>
    </message>
    <message>
        <source>Bájtok</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>A bájtok ennyiszer mennek el egymás után</source>
        <translation>The bytes are sent this many times one after another</translation>
    </message>
    <message>
        <source>Szöveg:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Hex:</source>
        <translation>Hex:</translation>
    </message>
    <message>
        <source>Ismétlés:</source>
        <translation>Repeat:</translation>
    </message>
    <message>
        <source>Mérés</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>A mérés melyik csatornáján van a soros jel</source>
        <translation>The channel of the capture that carries the serial signal</translation>
    </message>
    <message>
        <source>Fájl:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Csatorna:</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>Adó</source>
        <translation>Transmitter</translation>
    </message>
    <message>
        <source>Szünet két keret között, bitidőben</source>
        <translation>Pause between two frames, in bit times</translation>
    </message>
    <message>
        <source>Sebesség (bps):</source>
        <translation>Rate (bit/s):</translation>
    </message>
    <message>
        <source>Órajel hibája:</source>
        <translation>Clock error:</translation>
    </message>
    <message>
        <source>Adatbitek:</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>Paritás:</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>Stop bitek:</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>Szünet (bitidő):</source>
        <translation>Pause (bit times):</translation>
    </message>
    <message>
        <source>Vevő</source>
        <translation>Receiver</translation>
    </message>
    <message>
        <source>Eltérő keretformátum</source>
        <translation>Own framing</translation>
    </message>
    <message>
        <source>Fajta:</source>
        <translation>Kind:</translation>
    </message>
    <message>
        <source>Vonal</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Zavaró impulzusok átlagos száma 100 bitidő alatt (0 = zajmentes)</source>
        <translation>Average number of glitches per 100 bit times (0 = no noise)</translation>
    </message>
    <message>
        <source>Egy zavaró impulzus szélessége a bitidő százalékában</source>
        <translation>Width of one glitch as a percentage of the bit time</translation>
    </message>
    <message>
        <source>Új</source>
        <translation>New</translation>
    </message>
    <message>
        <source>A bájtok után a vonal ennyi bitidőn át 0 szinten marad (0 = nincs)</source>
        <translation>After the bytes the line stays at 0 for this many bit times (0 = none)</translation>
    </message>
    <message>
        <source>Zaj / 100 bit:</source>
        <translation>Noise / 100 bits:</translation>
    </message>
    <message>
        <source>Impulzus:</source>
        <translation>Glitch:</translation>
    </message>
    <message>
        <source>Mag:</source>
        <translation>Seed:</translation>
    </message>
    <message>
        <source>Szakadás (bitidő):</source>
        <translation>Break (bit times):</translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Vissza a szimulációhoz</source>
        <translation>Back to the simulation</translation>
    </message>
    <message>
        <source>Mérés megnyitása…</source>
        <translation>Open capture…</translation>
    </message>
    <message>
        <source>Adó (mérésnél nincs)</source>
        <translation>Transmitter (none in a capture)</translation>
    </message>
    <message>
        <source>A beírt „%1” kívül esik a megengedett tartományon (%2 … %3), ezért %4 lett belőle.</source>
        <translation>The “%1” typed lies outside the allowed range (%2 … %3), so it became %4.</translation>
    </message>
    <message>
        <source>A(z) „%1” karakter nincs a Windows-1250 kódlapon.</source>
        <translation>The character “%1” is not in the Windows-1250 code page.</translation>
    </message>
    <message>
        <source>Hibás hexadecimális érték: „%1”.</source>
        <translation>Invalid hexadecimal value: “%1”.</translation>
    </message>
    <message>
        <source>Nincs elküldendő bájt: írjon be egy szöveget vagy hexadecimális értékeket.</source>
        <translation>There are no bytes to send: type a text or hexadecimal values.</translation>
    </message>
    <message>
        <source>A(z) %1 érték nem fér el %2 adatbitben.</source>
        <translation>The value %1 does not fit in %2 data bits.</translation>
    </message>
    <message>
        <source>Az adó sebessége 50 és 3 000 000 bps közötti egész szám legyen.</source>
        <translation>The transmitter’s rate must be a whole number from 50 to 3,000,000 bit/s.</translation>
    </message>
    <message>
        <source>A vevő sebessége 50 és 3 000 000 bps közötti egész szám legyen.</source>
        <translation>The receiver’s rate must be a whole number from 50 to 3,000,000 bit/s.</translation>
    </message>
    <message>
        <source>Felismerés</source>
        <translation>Detect</translation>
    </message>
    <message>
        <source>A keretformátum felismerése a mért vonalból: az adatbitek száma, a paritás és a stop bitek, azzal együtt, hogy mi szól mellettük</source>
        <translation>Tell the framing from the measured line: the number of data bits, the parity and the stop bits, with what speaks for them</translation>
    </message>
    <message>
        <source>Invertált vonal</source>
        <translation>Inverted line</translation>
    </message>
    <message>
        <source>A vonal az RS232 oldalon, ahogy egy logikai analizátor látja: a nyugalmi szint (1, negatív feszültség) 0-nak, a 0 (pozitív feszültség) 1-nek mérve. A vevő visszafordítva olvassa.</source>
        <translation>The line on the RS232 side, as a logic analyser sees it: the idle level (1, negative voltage) measured as 0, and 0 (positive voltage) as 1. The receiver reads it turned back.</translation>
    </message>
    <message>
        <source>Felvétel…</source>
        <translation>Record…</translation>
    </message>
    <message>
        <source>Felvétel mentése…</source>
        <translation>Save recording…</translation>
    </message>
    <message>
        <source>A felvétel mentése sigrok munkamenetként (.sr)</source>
        <translation>Save the recording as a sigrok session (.sr)</translation>
    </message>
</context>
<context>
    <name>StreamTableModel</name>
    <message>
        <source>hamis start</source>
        <translation>false start</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Kezdet (µs)</source>
        <translation>Start (µs)</translation>
    </message>
    <message>
        <source>Küldött (hex)</source>
        <translation>Sent (hex)</translation>
    </message>
    <message>
        <source>Vett (hex)</source>
        <translation>Received (hex)</translation>
    </message>
    <message>
        <source>Hiba</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>StreamTexts</name>
    <message>
        <source>Nincs elküldendő bájt.</source>
        <translation>There are no bytes to send.</translation>
    </message>
    <message>
        <source>Legfeljebb %1 bájt küldhető egyszerre (most %2).</source>
        <translation>At most %1 bytes can be sent at once (now %2).</translation>
    </message>
    <message>
        <source>kerethiba</source>
        <translation>framing error</translation>
    </message>
    <message>
        <source>paritáshiba</source>
        <translation>parity error</translation>
    </message>
    <message>
        <source>szakadás (break)</source>
        <translation>break</translation>
    </message>
    <message>
        <source>zaj</source>
        <translation>noise</translation>
    </message>
    <message>
        <source>hamis start</source>
        <translation>false start</translation>
    </message>
    <message>
        <source>az ideális vevő</source>
        <translation>the ideal receiver</translation>
    </message>
    <message>
        <source>a 16× túlmintavételező vevő</source>
        <translation>the 16× oversampling receiver</translation>
    </message>
    <message>
        <source>a 8× túlmintavételező vevő</source>
        <translation>the 8× oversampling receiver</translation>
    </message>
    <message>
        <source>a vevő</source>
        <translation>the receiver</translation>
    </message>
    <message>
        <source>Vett keretek: %1</source>
        <translation>Frames received: %1</translation>
    </message>
    <message>
        <source>Küldött bájtok: %1, vett keretek: %2, ebből rossz értékű: %3</source>
        <translation>Bytes sent: %1, frames received: %2, with a wrong value: %3</translation>
    </message>
    <message>
        <source>. Kerethiba: %1, paritáshiba: %2, zaj: %3, szakadás: %4, hamis start: %5.</source>
        <translation>. Framing errors: %1, parity errors: %2, noise: %3, breaks: %4, false starts: %5.</translation>
    </message>
    <message>
        <source>A stop bit helyén %1, ezért minden keretnél kerethibát jelzett.</source>
        <translation>In the stop bit’s place it %1, so it flagged a framing error in every frame.</translation>
    </message>
    <message>
        <source>A stop bit helyén egyik keretnél sem olvasott 0-t (%1), ezért kerethibát nem jelzett.</source>
        <translation>In the stop bit’s place it read 0 in no frame (%1), so it flagged no framing error.</translation>
    </message>
    <message>
        <source>A stop bit helyén %1 keretnél %2 (kerethiba), %3 keretnél 1-et (%4).</source>
        <translation>In the stop bit’s place, in %1 of the frames it %2 (framing error); in %3 it read 1 (%4).</translation>
    </message>
    <message>
        <source>A vevő %1 keretet vár, az adó %2 keretet küld: a vevő a bitek egy részét más szerepben olvassa (adatbitnek, paritásnak vagy stop bitnek), mint ahogy az adó küldte.</source>
        <translation>The receiver expects %1 frames, the transmitter sends %2 frames: the receiver reads some of the bits in another role (as a data bit, parity or stop bit) than the transmitter sent them in.</translation>
    </message>
    <message>
        <source>%1 … %2 %</source>
        <translation>%1 … %2 %</translation>
    </message>
    <message>
        <source>A mért jel sebessége nem állapítható meg, ezért nem tudni, mennyire tér el az adó órajele a vevőétől.</source>
        <translation>The rate of the measured signal cannot be told, so it is not known how far the transmitter’s clock is from the receiver’s.</translation>
    </message>
    <message>
        <source>A mért jel sebessége pontosan a vevőé.</source>
        <translation>The measured signal’s rate is exactly the receiver’s.</translation>
    </message>
    <message>
        <source>A két órajel pontosan egyezik.</source>
        <translation>The two clocks agree exactly.</translation>
    </message>
    <message>
        <source>A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: az adóé %2 %-kal gyorsabb a vevőénél.</source>
        <translation>Measured from the line’s pulses, the clock ratio (transmitter/receiver) is %1 %: the transmitter’s is %2 % faster than the receiver’s.</translation>
    </message>
    <message>
        <source>Az órajelek aránya (adó/vevő) %1 %: az adóé %2 %-kal gyorsabb a vevőénél.</source>
        <translation>The clock ratio (transmitter/receiver) is %1 %: the transmitter’s is %2 % faster than the receiver’s.</translation>
    </message>
    <message>
        <source>A vonal impulzusaiból mérve az órajelek aránya (adó/vevő) %1 %: a vevőé %2 %-kal gyorsabb az adóénál.</source>
        <translation>Measured from the line’s pulses, the clock ratio (transmitter/receiver) is %1 %: the receiver’s is %2 % faster than the transmitter’s.</translation>
    </message>
    <message>
        <source>Az órajelek aránya (adó/vevő) %1 %: a vevőé %2 %-kal gyorsabb az adóénál.</source>
        <translation>The clock ratio (transmitter/receiver) is %1 %: the receiver’s is %2 % faster than the transmitter’s.</translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje hosszabb, ezért a kereten belül egyre később mintavételez, és a keret %3. bitjétől (a start bitet is számolva) már a következő bitet olvassa.</source>
        <translation>This lies outside the tolerance range of %1 (%2): the receiver’s bit time is longer, so within a frame it samples later and later, and from bit %3 of the frame (counting the start bit) it already reads the next bit.</translation>
    </message>
    <message>
        <source>a következő start bit 0 szintjét olvasta</source>
        <translation>read the 0 level of the next start bit</translation>
    </message>
    <message>
        <source>a keret utáni szünet vagy második stop bit 1 szintjét</source>
        <translation>the 1 level of the pause or second stop bit after the frame</translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a stop bit utolsó mintája már a stop bit utánra esik, ezért ha rögtön a következő start bit jön, a vevő annak élét csak késve veszi észre, és a késés keretről keretre nő, míg egy stop bit helyén a következő start bit 0 szintjét olvassa.</source>
        <translation>This lies outside the tolerance range of %1 (%2): the last sample of the stop bit already falls after the stop bit, so when the next start bit comes straight away the receiver notices its edge late, and the delay grows from frame to frame until in a stop bit’s place it reads the 0 level of the next start bit.</translation>
    </message>
    <message>
        <source>Ebben a futásban ez nem okozott hibát: a keretek közötti 1 szint (szünet vagy második stop bit) alatt a vevő minden start élt időben észrevett.</source>
        <translation>In this run it caused no error: during the 1 level between the frames (a pause or a second stop bit) the receiver noticed every start edge in time.</translation>
    </message>
    <message>
        <source>Ez kívül esik %1 tűrési tartományán (%2): a vevő bitideje rövidebb, ezért egyre korábban mintavételez, és a keret %3. bitjétől (a start bitet is számolva) még az előző bitet olvassa, így a stop bit helyén az utolsó adat- vagy paritásbitet látja.</source>
        <translation>This lies outside the tolerance range of %1 (%2): the receiver’s bit time is shorter, so it samples earlier and earlier, and from bit %3 of the frame (counting the start bit) it still reads the previous bit, so in the stop bit’s place it sees the last data or parity bit.</translation>
    </message>
    <message>
        <source>ez 0 volt</source>
        <translation>found it 0</translation>
    </message>
    <message>
        <source>az utolsó adat- vagy paritásbit 1 volt</source>
        <translation>the last data or parity bit was 1</translation>
    </message>
    <message>
        <source>Ez belül van %1 tűrési tartományán (%2), és minden start bit újra szinkronizálja a vevőt, így az eltérés keretről keretre nem adódik össze.</source>
        <translation>This lies inside the tolerance range of %1 (%2), and every start bit synchronises the receiver again, so the difference does not add up from frame to frame.</translation>
    </message>
    <message numerus="yes">
        <source>A vonalon %1 zavaró impulzus volt.</source>
        <translation>
            <numerusform>There was %1 glitch on the line.</numerusform>
            <numerusform>There were %1 glitches on the line.</numerusform>
        </translation>
    </message>
    <message>
        <source>Az ideális vevő bitenként egyetlen mintát vesz, ezért egy zavar, amely éppen a bit közepére esik, rossz bitet ad; a túlmintavételező vevő három minta többségével dönt, és az ilyen rövid zavart kiszűri.</source>
        <translation>The ideal receiver takes a single sample per bit, so a glitch that falls right on the middle of a bit gives a wrong bit; the oversampling receiver decides by the majority of three samples and filters out such a short glitch.</translation>
    </message>
    <message numerus="yes">
        <source>A szünetben érkező zavar %1 hamis startot okozott: a vevő a start bit közepén 1-et olvasott, és tovább várt.</source>
        <translation>
            <numerusform>Noise in the pauses caused %1 false start: the receiver read 1 in the middle of the start bit and went on waiting.</numerusform>
            <numerusform>Noise in the pauses caused %1 false starts: the receiver read 1 in the middle of the start bit and went on waiting.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben egy rövid impulzus miatt a három minta nem egyezett (zaj jelzés), de a többség döntött.</source>
        <translation>
            <numerusform>In %1 frame a short pulse made the three samples disagree (noise flag), but the majority decided.</numerusform>
            <numerusform>In %1 frames a short pulse made the three samples disagree (noise flag), but the majority decided.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>A vevő %1 keretben szavazással kiszűrte a zavart (zaj jelzés): a három minta nem egyezett, de a többség a helyes bitet adta.</source>
        <translation>
            <numerusform>The receiver voted the glitch out in %1 frame (noise flag): the three samples disagreed, but the majority gave the right bit.</numerusform>
            <numerusform>The receiver voted the glitch out in %1 frames (noise flag): the three samples disagreed, but the majority gave the right bit.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a vevő zajt jelzett, de a zavar a többséget is elrontotta: a keret hibás.</source>
        <translation>
            <numerusform>In %1 frame the receiver flagged noise, but the glitch spoilt the majority too: the frame is wrong.</numerusform>
            <numerusform>In %1 frames the receiver flagged noise, but the glitch spoilt the majority too: the frame is wrong.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a zaj jelzést nem zavar okozta, hanem a bitek határa: egy bit három mintája közé a vonal egy éle esett, mert a jel bitideje nem egyezik a vevőével, így a minták egy része már a szomszédos bitet olvasta.</source>
        <translation>
            <numerusform>In %1 frame the noise flag came not from a glitch but from a bit boundary: an edge of the line fell among the three samples of a bit, because the signal’s bit time differs from the receiver’s, so some of the samples already read the neighbouring bit.</numerusform>
            <numerusform>In %1 frames the noise flag came not from a glitch but from a bit boundary: an edge of the line fell among the three samples of a bit, because the signal’s bit time differs from the receiver’s, so some of the samples already read the neighbouring bit.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keretben a zaj jelzést nem zavar okozta, hanem a két órajel eltérése: egy bit három mintája közé a bitek határa esett, így a minták egy része már a szomszédos bitet olvasta.</source>
        <translation>
            <numerusform>In %1 frame the noise flag came not from a glitch but from the difference of the two clocks: a bit boundary fell among the three samples of a bit, so some of the samples already read the neighbouring bit.</numerusform>
            <numerusform>In %1 frames the noise flag came not from a glitch but from the difference of the two clocks: a bit boundary fell among the three samples of a bit, so some of the samples already read the neighbouring bit.</numerusform>
        </translation>
    </message>
    <message>
        <source>A bájtok után a vonal hosszan 0 szinten maradt: ezt a vevő szakadásnak (break) ismeri fel, mert a keret minden bitje, a stop bit is, 0. A szakadást nem számítjuk rossz értékű keretnek.</source>
        <translation>After the bytes the line stayed at 0 for a long time: the receiver recognises this as a break, because every bit of the frame, the stop bit too, is 0. A break is not counted as a frame with a wrong value.</translation>
    </message>
    <message>
        <source>A vevő minden keretet hibátlanul vett.</source>
        <translation>The receiver received every frame without error.</translation>
    </message>
    <message numerus="yes">
        <source>%1 keretnél jelzett kerethibát vagy paritáshibát a vevő.</source>
        <translation>
            <numerusform>The receiver flagged a framing or parity error in %1 frame.</numerusform>
            <numerusform>The receiver flagged a framing or parity error in %1 frames.</numerusform>
        </translation>
    </message>
    <message>
        <source>Minden keret a helyes értékkel megérkezett.</source>
        <translation>Every frame arrived with the right value.</translation>
    </message>
    <message>
        <source>Minden keret hibátlanul megérkezett.</source>
        <translation>Every frame arrived without error.</translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás; a vevő mindegyiknél jelzett valamilyen hibát.</source>
        <translation>
            <numerusform>%1 frame has a wrong value; the receiver flagged an error in it.</numerusform>
            <numerusform>%1 frames have a wrong value; the receiver flagged an error in each of them.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás, és a vevő egyiknél sem jelzett hibát: ezeket a hibákat csak a küldött bájtokkal összevetve lehet észrevenni.</source>
        <translation>
            <numerusform>%1 frame has a wrong value, and the receiver flagged no error in it: such errors can only be noticed by comparing with the bytes sent.</numerusform>
            <numerusform>%1 frames have a wrong value, and the receiver flagged no error in any of them: such errors can only be noticed by comparing with the bytes sent.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 keret értéke hibás: %2 keretnél jelzett hibát a vevő, %3 keretnél semmilyet.</source>
        <translation>
            <numerusform>%1 frame has a wrong value: the receiver flagged an error in %2 of them and none in %3.</numerusform>
            <numerusform>%1 frames have a wrong value: the receiver flagged an error in %2 of them and none in %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Minden keret értéke helyes, de %1 keretnél kerethibát vagy paritáshibát jelzett a vevő.</source>
        <translation>
            <numerusform>Every frame has the right value, but the receiver flagged a framing or parity error in %1 frame.</numerusform>
            <numerusform>Every frame has the right value, but the receiver flagged a framing or parity error in %1 frames.</numerusform>
        </translation>
    </message>
    <message>
        <source>A szöveg nem UTF-8 kódolású.</source>
        <translation>The text is not UTF-8 encoded.</translation>
    </message>
    <message>
        <source>A szövegben olyan karakter van, amely nincs a Windows-1250 kódlapon.</source>
        <translation>The text holds a character that is not in the Windows-1250 code page.</translation>
    </message>
    <message>
        <source>A bájtok között hibás hexadecimális érték van.</source>
        <translation>The bytes include an invalid hexadecimal value.</translation>
    </message>
    <message>
        <source>Legfeljebb %1 bájt küldhető egyszerre.</source>
        <translation>At most %1 bytes can be sent at once.</translation>
    </message>
    <message>
        <source>Egy érték nem fér el az adatbitekben.</source>
        <translation>A value does not fit in the data bits.</translation>
    </message>
    <message>
        <source>Az adatbitek száma %1 és %2 közötti legyen.</source>
        <translation>The number of data bits must be between %1 and %2.</translation>
    </message>
    <message>
        <source>A sebesség %1 és %2 bps közötti legyen.</source>
        <translation>The speed must be between %1 and %2 bps.</translation>
    </message>
    <message>
        <source>Az órajel hibája %1 és %2 százalék közötti legyen.</source>
        <translation>The clock error must be between %1 and %2 percent.</translation>
    </message>
    <message>
        <source>A keretek közötti szünet %1 és %2 bitidő közötti legyen.</source>
        <translation>The idle time between frames must be between %1 and %2 bit times.</translation>
    </message>
    <message>
        <source>Az első keret előtti szünet %1 és %2 bitidő közötti legyen.</source>
        <translation>The idle time before the first frame must be between %1 and %2 bit times.</translation>
    </message>
    <message>
        <source>A vevő mintavételi fázisa legalább 0 és 1-nél kisebb legyen.</source>
        <translation>The receiver’s sampling phase must be at least 0 and below 1.</translation>
    </message>
    <message>
        <source>A szimuláció nem fér el a memóriában: küldjön kevesebb bájtot, vagy kevesebbszer.</source>
        <translation>The simulation does not fit in memory: send fewer bytes, or fewer times.</translation>
    </message>
    <message>
        <source>A szimuláció nem futtatható. %1</source>
        <translation>The simulation cannot run. %1</translation>
    </message>
    <message>
        <source>A szimuláció váratlan hibával leállt. A modell angol nyelvű üzenete: %1</source>
        <translation>The simulation stopped with an unexpected error. The model’s message: %1</translation>
    </message>
    <message>
        <source>A mérés dekódolása nem fér el a memóriában.</source>
        <translation>Decoding the measurement does not fit in memory.</translation>
    </message>
    <message>
        <source>A mérés nem dekódolható. %1</source>
        <translation>The measurement cannot be decoded. %1</translation>
    </message>
    <message>
        <source>A mérés dekódolása váratlan hibával leállt. A modell angol nyelvű üzenete: %1</source>
        <translation>Decoding the measurement stopped with an unexpected error. The model’s message: %1</translation>
    </message>
</context>
<context>
    <name>TopologyPage</name>
    <message>
        <source>RS232 topológiai leírás</source>
        <translation>RS232 topology description</translation>
    </message>
</context>
<context>
    <name>TransmitReceivePage</name>
    <message>
        <source>Szimuláció leírása</source>
        <translation>About the simulation</translation>
    </message>
    <message>
        <source>%1. csatorna beállításai</source>
        <translation>Channel %1 settings</translation>
    </message>
    <message>
        <source>Szimuláció</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Adatkommunikáció eredménye</source>
        <translation>Result of the data exchange</translation>
    </message>
    <message>
        <source>1. csatorna</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>2. csatorna</source>
        <translation>Channel 2</translation>
    </message>
    <message>
        <source>RS232 szimuláció leírás</source>
        <translation>RS232 simulation description</translation>
    </message>
    <message>
        <source>1. csatorna küldött</source>
        <translation>Channel 1 sent</translation>
    </message>
    <message>
        <source>2. csatorna küldött</source>
        <translation>Channel 2 sent</translation>
    </message>
    <message>
        <source>1. csatorna mintavétel</source>
        <translation>Channel 1 sampling</translation>
    </message>
    <message>
        <source>2. csatorna mintavétel</source>
        <translation>Channel 2 sampling</translation>
    </message>
    <message>
        <source>1. csatorna vett (2. cs. küldött)</source>
        <translation>Channel 1 received (ch. 2 sent)</translation>
    </message>
    <message>
        <source>2. csatorna vett (1. cs. küldött)</source>
        <translation>Channel 2 received (ch. 1 sent)</translation>
    </message>
    <message>
        <source>1. csatorna RTS/         2. csatorna CTS jel</source>
        <translation>Channel 1 RTS/         channel 2 CTS signal</translation>
    </message>
    <message>
        <source>1. csatorna CTS/         2. csatorna RTS jel</source>
        <translation>Channel 1 CTS/         channel 2 RTS signal</translation>
    </message>
    <message>
        <source>Handshake viszonyok</source>
        <translation>Handshake lines</translation>
    </message>
    <message>
        <source>Adatkommunikáció összefoglalása</source>
        <translation>Data exchange summary</translation>
    </message>
    <message>
        <source>Grafikon</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Jelalakok mentése (VCD)…</source>
        <translation>Save the waveforms (VCD)…</translation>
    </message>
    <message>
        <source>Színmagyarázat</source>
        <translation>Colour key</translation>
    </message>
    <message>
        <source>start</source>
        <translation>start</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>stop</translation>
    </message>
    <message>
        <source>adat</source>
        <translation>data</translation>
    </message>
    <message>
        <source>paritás</source>
        <translation>parity</translation>
    </message>
    <message>
        <source>busz tétlen/vár</source>
        <translation>bus idle/wait</translation>
    </message>
    <message>
        <source>Szimulációs folyamat elindítása</source>
        <translation>Start the simulation</translation>
    </message>
    <message>
        <source>A jelalakok nem menthetők ide:
%1

%2</source>
        <translation>The waveforms cannot be saved here:
%1

%2</translation>
    </message>
</context>
<context>
    <name>form</name>
    <message>
        <source>Az adatok LSB...MSB (legkisebb helyértéktől a legnagyobbig) sorrendben kerülnek átküldésre.</source>
        <translation>The data are sent in LSB...MSB order (from the least significant bit to the most significant).</translation>
    </message>
    <message>
        <source>adatcsomag</source>
        <translation>data packet</translation>
    </message>
    <message>
        <source>mintavétel</source>
        <translation>sampling</translation>
    </message>
    <message>
        <source>start bit</source>
        <translation>start bit</translation>
    </message>
    <message>
        <source>Start bit értéke:</source>
        <translation>Start bit value:</translation>
    </message>
    <message>
        <source>start színminta</source>
        <translation>start colour sample</translation>
    </message>
    <message>
        <source>adat</source>
        <translation>data</translation>
    </message>
    <message>
        <source>Adat:</source>
        <translation>Data:</translation>
    </message>
    <message>
        <source>adat színminta</source>
        <translation>data colour sample</translation>
    </message>
    <message>
        <source>paritás bit</source>
        <translation>parity bit</translation>
    </message>
    <message>
        <source>Paritás bit értéke:</source>
        <translation>Parity bit value:</translation>
    </message>
    <message>
        <source>paritás színminta</source>
        <translation>parity colour sample</translation>
    </message>
    <message>
        <source>stop bit</source>
        <translation>stop bit</translation>
    </message>
    <message>
        <source>Stop bit értéke:</source>
        <translation>Stop bit value:</translation>
    </message>
    <message>
        <source>stop bit hossza</source>
        <translation>stop bit length</translation>
    </message>
</context>
<context>
    <name>pictures</name>
    <message>
        <source>tétlen</source>
        <translation>idle</translation>
    </message>
    <message>
        <source>paritás</source>
        <translation>parity</translation>
    </message>
    <message>
        <source>RS232 modul %1.</source>
        <translation>RS232 module %1</translation>
    </message>
</context>
<context>
    <name>texts</name>
    <message>
        <source>nincs</source>
        <translation>none</translation>
    </message>
    <message>
        <source>fix &quot;0&quot;</source>
        <translation>fixed &quot;0&quot;</translation>
    </message>
    <message>
        <source>fix &quot;1&quot;</source>
        <translation>fixed &quot;1&quot;</translation>
    </message>
    <message>
        <source>páros</source>
        <translation>even</translation>
    </message>
    <message>
        <source>páratlan</source>
        <translation>odd</translation>
    </message>
    <message>
        <source>1 bit</source>
        <translation>1 bit</translation>
    </message>
    <message>
        <source>1,5 bit</source>
        <translation>1.5 bits</translation>
    </message>
    <message>
        <source>2 bit</source>
        <translation>2 bits</translation>
    </message>
    <message>
        <source>Nézet másolása        </source>
        <translation>Copy view        </translation>
    </message>
    <message>
        <source>Nézet nyomtatása     </source>
        <translation>Print view     </translation>
    </message>
    <message>
        <source>A start bitnek minden esetben &quot;0&quot; szintűnek kell lennie.</source>
        <translation>The start bit must always be at the &quot;0&quot; level.</translation>
    </message>
    <message>
        <source>Minden adatkeretben 1 bájtnyi (8 bit) információ kerül átküldésre. Az átküldött bitek sorrendje LSB...MSB.</source>
        <translation>Every data frame carries 1 byte (8 bits) of information. The bits are sent in LSB...MSB order.</translation>
    </message>
    <message>
        <source>A paritás bit az adatátvitel biztonságát növeli. A paritás bit értékét lehet fixre és adattól függő értékre állítani. Fix típusú paritásbit esetén lehet &quot;0&quot; vagy &quot;1&quot; az értéke. Az adatoktól függő típus esetén az adatban található egyesek számát párosra vagy páratlanra egészíti ki. </source>
        <translation>The parity bit makes the transmission safer. The parity bit can be set to a fixed value or to one that depends on the data. A fixed parity bit is &quot;0&quot; or &quot;1&quot;. One that depends on the data makes the number of ones in the data even or odd. </translation>
    </message>
    <message>
        <source>A stop bitnek minden esetben &quot;1&quot; szintűnek kell lennie. A stop bit hosszának módosításával az adatkeretek elküldése közti szünet növelhető.</source>
        <translation>The stop bit must always be at the &quot;1&quot; level. Lengthening the stop bit lengthens the pause between sending data frames.</translation>
    </message>
</context>
</TS>
