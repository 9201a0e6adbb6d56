<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Catalogue</name>
    <message>
        <source>Pack</source>
        <translation>Packen</translation>
    </message>
    <message>
        <source>Reindex</source>
        <translation>Neuindizierung</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>Invalid title code</source>
        <translation>Ungültiger Albumcode</translation>
    </message>
    <message>
        <source>row of no album deleted</source>
        <translation>Zeile ohne Album gelöscht</translation>
    </message>
    <message>
        <source>rows of no album deleted</source>
        <translation>Zeilen ohne Album gelöscht</translation>
    </message>
    <message>
        <source>Invalid attr code</source>
        <translation>Ungültiger Verweiscode</translation>
    </message>
    <message>
        <source>row of no artist or song deleted</source>
        <translation>Zeile ohne Künstler oder Titel gelöscht</translation>
    </message>
    <message>
        <source>rows of no artist or song deleted</source>
        <translation>Zeilen ohne Künstler oder Titel gelöscht</translation>
    </message>
    <message>
        <source>Sequencing error</source>
        <translation>Reihenfolgefehler</translation>
    </message>
    <message>
        <source>sequence number corrected</source>
        <translation>Positionsnummer korrigiert</translation>
    </message>
    <message>
        <source>sequence numbers corrected</source>
        <translation>Positionsnummern korrigiert</translation>
    </message>
    <message>
        <source>Invalid reference count</source>
        <translation>Ungültiger Verwendungszähler</translation>
    </message>
    <message>
        <source>reference count corrected</source>
        <translation>Verwendungszähler korrigiert</translation>
    </message>
    <message>
        <source>reference counts corrected</source>
        <translation>Verwendungszähler korrigiert</translation>
    </message>
    <message>
        <source>Invalid aux attr</source>
        <translation>Ungültiger erster Künstler</translation>
    </message>
    <message>
        <source>first artist corrected</source>
        <translation>erster Künstler korrigiert</translation>
    </message>
    <message>
        <source>first artists corrected</source>
        <translation>erste Künstler korrigiert</translation>
    </message>
    <message>
        <source>Invalid full name</source>
        <translation>Ungültiger vollständiger Name</translation>
    </message>
    <message>
        <source>full name removed</source>
        <translation>vollständiger Name entfernt</translation>
    </message>
    <message>
        <source>full names removed</source>
        <translation>vollständige Namen entfernt</translation>
    </message>
    <message>
        <source>Damaged index</source>
        <translation>Beschädigter Index</translation>
    </message>
    <message>
        <source>damaged index rebuilt</source>
        <translation>beschädigter Index neu aufgebaut</translation>
    </message>
    <message>
        <source>damaged indexes rebuilt</source>
        <translation>beschädigte Indizes neu aufgebaut</translation>
    </message>
    <message>
        <source>%s corrected: %s</source>
        <translation>%s korrigiert: %s</translation>
    </message>
    <message>
        <source>verification: %s</source>
        <translation>Prüfung: %s</translation>
    </message>
    <message>
        <source> (and %s more)</source>
        <translation> (und %s weitere)</translation>
    </message>
    <message>
        <source>verification found what it cannot correct: %s: %s%s</source>
        <translation>die Prüfung fand, was sie nicht korrigieren kann: %s: %s%s</translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
The file %s cannot be written; nothing was changed.</source>
        <translation>Anlegen der Datendatei „%s“ fehlgeschlagen.
Die Datei %s kann nicht geschrieben werden; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Operation create failed: no file can be made in this directory; nothing was changed.</source>
        <translation>Anlegen fehlgeschlagen: In diesem Verzeichnis kann keine Datei angelegt werden; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Creation stopped at table &quot;%s&quot;, which is unfinished.
Replaced by new empty tables: %s.
Left as they were: %s.</source>
        <translation>Das Anlegen brach bei der Tabelle „%s“ ab, die unfertig ist.
Durch neue, leere Tabellen ersetzt: %s.
Unverändert gelassen: %s.</translation>
    </message>
    <message>
        <source>Choose directory where database will be created</source>
        <translation>Verzeichnis wählen, in dem die Datenbank angelegt wird</translation>
    </message>
    <message>
        <source>Database main files (*.db1)|*.db1||</source>
        <translation>Datenbank-Hauptdateien (*.db1)|*.db1||</translation>
    </message>
    <message>
        <source>A database (or remains thereof) already seems to exist in this directory.
If you go ahead and create a new database, the current one will be overwritten.
Are you sure you want to proceed?</source>
        <translation>In diesem Verzeichnis scheint bereits eine Datenbank (oder ein Rest davon) zu liegen.
Wenn Sie eine neue Datenbank anlegen, wird die vorhandene überschrieben.
Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Create database</source>
        <translation>Datenbank anlegen</translation>
    </message>
    <message>
        <source>There are no more references to &quot;%s&quot;.
Would you like to purge (delete) it from the database?</source>
        <translation>„%s“ wird nirgends mehr verwendet.
Möchten Sie es aus der Datenbank entfernen (löschen)?</translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation>Bereinigen bestätigen</translation>
    </message>
    <message>
        <source>%s failed: %s</source>
        <translation>%s fehlgeschlagen: %s</translation>
    </message>
    <message>
        <source>%s failed: the table file %s is missing</source>
        <translation>%s fehlgeschlagen: Die Tabellendatei %s fehlt</translation>
    </message>
    <message>
        <source>%s failed: the database needs recovery</source>
        <translation>%s fehlgeschlagen: Die Datenbank muss wiederhergestellt werden</translation>
    </message>
    <message>
        <source>%s failed. Check if a file is open or locked</source>
        <translation>%s fehlgeschlagen. Prüfen Sie, ob eine Datei geöffnet oder gesperrt ist</translation>
    </message>
    <message>
        <source>Another program is using the database; waiting for it to finish.</source>
        <translation>Ein anderes Programm verwendet die Datenbank; es wird gewartet, bis es fertig ist.</translation>
    </message>
    <message>
        <source>Another program is using the database to read it (table &quot;%s&quot; is held).
It can be read meanwhile; changes must wait until that program has closed it.</source>
        <translation>Ein anderes Programm liest die Datenbank (die Tabelle „%s“ ist belegt).
Sie kann währenddessen gelesen werden; Änderungen müssen warten, bis das Programm sie geschlossen hat.</translation>
    </message>
    <message>
        <source>Another program is using the database (table &quot;%s&quot; is held).
Try again when it has finished.</source>
        <translation>Ein anderes Programm verwendet die Datenbank (die Tabelle „%s“ ist belegt).
Versuchen Sie es erneut, wenn es fertig ist.</translation>
    </message>
    <message>
        <source>The file %s cannot be written (%s)</source>
        <translation>Die Datei %s kann nicht geschrieben werden (%s)</translation>
    </message>
    <message>
        <source>The file %s cannot be read (%s)</source>
        <translation>Die Datei %s kann nicht gelesen werden (%s)</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s; nothing was changed. The database can still be opened for reading.</source>
        <translation>Öffnen der Datendatei „%s“ fehlgeschlagen.
%s; nichts wurde geändert. Die Datenbank kann weiterhin zum Lesen geöffnet werden.</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s.</source>
        <translation>Öffnen der Datendatei „%s“ fehlgeschlagen.
%s.</translation>
    </message>
    <message>
        <source>Close the program that uses the database (or wait for it to end), then recover again.</source>
        <translation>Schließen Sie das Programm, das die Datenbank verwendet (oder warten Sie, bis es endet), und stellen Sie sie dann erneut wieder her.</translation>
    </message>
    <message>
        <source>Put the missing file back (from where it was moved, or from a backup of the database&apos;s folder), then recover again.</source>
        <translation>Legen Sie die fehlende Datei zurück (von dort, wohin sie verschoben wurde, oder aus einer Sicherung des Datenbankordners) und stellen Sie die Datenbank dann erneut wieder her.</translation>
    </message>
    <message>
        <source>Make room on the disk and make sure the database&apos;s files may be written, then recover again. If it fails the same way, the database is damaged: keep a copy of its folder and restore it from a backup.</source>
        <translation>Schaffen Sie Platz auf dem Datenträger, stellen Sie sicher, dass die Dateien der Datenbank geschrieben werden dürfen, und stellen Sie sie dann erneut wieder her. Scheitert das auf dieselbe Weise, ist die Datenbank beschädigt: Bewahren Sie eine Kopie ihres Ordners auf und spielen Sie eine Sicherung zurück.</translation>
    </message>
    <message>
        <source>The database is damaged beyond what recovery mends. Keep a copy of its folder, export what can still be read (tracklore-cli export), and restore the database from a backup, or create a new one and import the export.</source>
        <translation>Die Datenbank ist stärker beschädigt, als die Wiederherstellung beheben kann. Bewahren Sie eine Kopie ihres Ordners auf, exportieren Sie, was noch lesbar ist (tracklore-cli export), und spielen Sie eine Sicherung der Datenbank zurück, oder legen Sie eine neue an und importieren Sie den Export.</translation>
    </message>
    <message>
        <source>Records whose status byte is damaged are read as live: pack the database (tracklore-cli pack), which writes them so, then recover again.</source>
        <translation>Datensätze mit beschädigtem Statusbyte werden als gültig gelesen: Packen Sie die Datenbank (tracklore-cli pack), wodurch sie so geschrieben werden, und stellen Sie sie dann erneut wieder her.</translation>
    </message>
    <message>
        <source>The database is consistent again. Look at the albums you changed last: what that change did may be missing or half done.</source>
        <translation>Die Datenbank ist wieder in sich stimmig. Sehen Sie sich die zuletzt geänderten Alben an: Was diese Änderung bewirkt hat, kann fehlen oder halb erledigt sein.</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the disk is full: %lld MB more are needed</source>
        <translation>der Datenträger ist voll: %lld MB mehr werden benötigt</translation>
    </message>
    <message>
        <source>returned %s</source>
        <translation>Rückgabewert %s</translation>
    </message>
    <message>
        <source>audio file</source>
        <translation>Audiodatei</translation>
    </message>
    <message>
        <source>audio files</source>
        <translation>Audiodateien</translation>
    </message>
    <message>
        <source> read, %d skipped, %d not audio</source>
        <translation> gelesen, %d übersprungen, %d keine Audiodateien</translation>
    </message>
    <message>
        <source>, %d hidden not read</source>
        <translation>, %d versteckte nicht gelesen</translation>
    </message>
    <message>
        <source>no audio file found: nothing to scan
</source>
        <translation>keine Audiodatei gefunden: nichts einzulesen
</translation>
    </message>
    <message>
        <source>%s in %s, %s linked once
</source>
        <translation>%s in %s, %s nur einmal verknüpft
</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>Kopie</translation>
    </message>
    <message>
        <source>copies</source>
        <translation>Kopien</translation>
    </message>
    <message>
        <source>albums: %d %s, %d completed, %d already there, %d left alone
</source>
        <translation>Alben: %d %s, %d vervollständigt, %d schon vorhanden, %d unangetastet
</translation>
    </message>
    <message>
        <source>to add</source>
        <translation>hinzuzufügen</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>to create %s and %s
</source>
        <translation>anzulegen: %s und %s
</translation>
    </message>
    <message>
        <source>created %s and %s
</source>
        <translation>angelegt: %s und %s
</translation>
    </message>
    <message>
        <source>rescan: %s unchanged (not opened), %d gone; albums following their files: %d %s, %d %s, %d edited left alone
</source>
        <translation>erneutes Einlesen: %s unverändert (nicht geöffnet), %d verschwunden; Alben, die ihren Dateien folgen: %d %s, %d %s, %d bearbeitete unangetastet
</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>to change</source>
        <translation>zu ändern</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message>
        <source>to remove</source>
        <translation>zu entfernen</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message>
        <source>%s: missing or holds no audio file: nothing below it was changed
</source>
        <translation>%s: fehlt oder enthält keine Audiodatei: darunter wurde nichts geändert
</translation>
    </message>
    <message>
        <source>names: %d transliterated, %d cut, %d stand-ins, %d mended
</source>
        <translation>Namen: %d transliteriert, %d gekürzt, %d Ersatznamen, %d repariert
</translation>
    </message>
    <message>
        <source>dry run: nothing was written
</source>
        <translation>Probelauf: nichts wurde geschrieben
</translation>
    </message>
    <message>
        <source>nothing changed: the catalogue already holds these files
</source>
        <translation>nichts geändert: Der Katalog enthält diese Dateien bereits
</translation>
    </message>
    <message>
        <source>nothing changed: %s edited since the scan left alone; the report says what differs and how to take the files&apos; version
</source>
        <translation>nichts geändert: %s seit dem Einlesen bearbeitet und unangetastet gelassen; der Bericht nennt die Unterschiede und wie die Fassung der Dateien übernommen wird
</translation>
    </message>
    <message>
        <source>cancelled: the albums done so far are kept
</source>
        <translation>abgebrochen: Die bisher erledigten Alben bleiben erhalten
</translation>
    </message>
    <message>
        <source>not kept: %d %s of the unfinished batch, which recovery takes back
</source>
        <translation>nicht behalten: %d %s des unfertigen Stapels, den die Wiederherstellung zurücknimmt
</translation>
    </message>
    <message>
        <source>Albums: %ld
Artists: %ld
Songs: %ld
</source>
        <translation>Alben: %ld
Künstler: %ld
Titel: %ld
</translation>
    </message>
    <message>
        <source>Links to artists: %lld
Links to songs: %lld
</source>
        <translation>Verknüpfungen zu Künstlern: %lld
Verknüpfungen zu Titeln: %lld
</translation>
    </message>
    <message>
        <source>  ... and %zu more
</source>
        <translation>  ... und %zu weitere
</translation>
    </message>
    <message>
        <source>Albums without artists</source>
        <translation>Alben ohne Künstler</translation>
    </message>
    <message>
        <source>Albums without songs</source>
        <translation>Alben ohne Titel</translation>
    </message>
    <message>
        <source>Artists no album uses</source>
        <translation>Künstler, die kein Album verwendet</translation>
    </message>
    <message>
        <source>Songs no album uses</source>
        <translation>Titel, die kein Album verwendet</translation>
    </message>
    <message>
        <source>Artists on the most albums:
</source>
        <translation>Künstler auf den meisten Alben:
</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
It is not a table of a music database: %s.</source>
        <translation>Öffnen der Datendatei „%s“ fehlgeschlagen.
Sie ist keine Tabelle einer Musikdatenbank: %s.</translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
Return value: %s.
%s</source>
        <translation>Anlegen der Datendatei „%s“ fehlgeschlagen.
Rückgabewert: %s.
%s</translation>
    </message>
    <message>
        <source>Names are kept in their stored form only until it can be made.</source>
        <translation>Bis sie angelegt werden kann, werden Namen nur in ihrer gespeicherten Form behalten.</translation>
    </message>
    <message>
        <source>Scans remember no file until it can be made.</source>
        <translation>Bis sie angelegt werden kann, merkt sich das Einlesen keine Dateien.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: its file %s is missing.</source>
        <translation>Vorgang %s an der Datendatei „%s“ fehlgeschlagen: Ihre Datei %s fehlt.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: %s.</source>
        <translation>Vorgang %s an der Datendatei „%s“ fehlgeschlagen: %s.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation>Vorgang %s an der Datendatei „%s“ fehlgeschlagen.
Rückgabewert: %s.</translation>
    </message>
    <message>
        <source>Choose database main file</source>
        <translation>Hauptdatei der Datenbank wählen</translation>
    </message>
    <message>
        <source>Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||</source>
        <translation>Datenbank-Hauptdateien (maindb.db1)|maindb.db1|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is nothing to redo.</source>
        <translation>Es gibt nichts wiederherzustellen.</translation>
    </message>
    <message>
        <source>There is nothing to undo.</source>
        <translation>Es gibt nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>The undo history %s is damaged: nothing changed.</source>
        <translation>Der Rückgängig-Verlauf %s ist beschädigt: nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The last change, the %s, cannot be undone, nor anything before it.</source>
        <translation>Die letzte Änderung (%s) kann nicht rückgängig gemacht werden, ebenso nichts davor.</translation>
    </message>
    <message>
        <source>The database must be open for writing, by this program alone.</source>
        <translation>Die Datenbank muss zum Schreiben geöffnet sein, und zwar nur von diesem Programm.</translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be redone.</source>
        <translation>Der Katalog hat sich seit dem Vorgang (%s) geändert (durch ein anderes Programm, Packen, Neuindizierung oder Wiederherstellung): Er kann nicht mehr wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be undone.</source>
        <translation>Der Katalog hat sich seit dem Vorgang (%s) geändert (durch ein anderes Programm, Packen, Neuindizierung oder Wiederherstellung): Er kann nicht mehr rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Cannot write the journal %s: nothing changed.</source>
        <translation>Das Journal %s kann nicht geschrieben werden: nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the redo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation>Die Datenbank konnte vor dem Wiederherstellen nicht sauber geschlossen werden: nichts wurde geändert. Stellen Sie die Datenbank wieder her (tracklore-cli recover).</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the undo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation>Die Datenbank konnte vor dem Rückgängigmachen nicht sauber geschlossen werden: nichts wurde geändert. Stellen Sie die Datenbank wieder her (tracklore-cli recover).</translation>
    </message>
    <message>
        <source>The main file name &quot;%s&quot; is longer than the %d characters a database&apos;s main file name can have: rename its files, or choose a shorter name.</source>
        <translation>Der Name der Hauptdatei &quot;%s&quot; ist länger als die %d Zeichen, die der Name der Hauptdatei einer Datenbank haben kann: Benennen Sie ihre Dateien um oder wählen Sie einen kürzeren Namen.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %s.
What it still held was not written, so it needs recovery: open it again and recover it when asked.</source>
        <translation>Die Datenbank konnte nicht sauber geschlossen werden: %s.
Was sie noch enthielt, wurde nicht geschrieben; sie muss daher wiederhergestellt werden: Öffnen Sie sie erneut und stellen Sie sie wieder her, wenn Sie gefragt werden.</translation>
    </message>
    <message>
        <source>The redo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation>Das Wiederherstellen des Vorgangs (%s) schlug mittendrin fehl%s. Stellen Sie die Datenbank wieder her (tracklore-cli recover), um es zurückzunehmen.</translation>
    </message>
    <message>
        <source>The undo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation>Das Rückgängigmachen des Vorgangs (%s) schlug mittendrin fehl%s. Stellen Sie die Datenbank wieder her (tracklore-cli recover), um es zurückzunehmen.</translation>
    </message>
    <message>
        <source>Redone: %s</source>
        <translation>Wiederhergestellt: %s</translation>
    </message>
    <message>
        <source>Undone: %s</source>
        <translation>Rückgängig gemacht: %s</translation>
    </message>
    <message>
        <source>*** not found ***</source>
        <translation>*** nicht gefunden ***</translation>
    </message>
    <message>
        <source>The corrections could not be saved.
Return value: %s.
Recover the database, which verifies it again.</source>
        <translation>Die Korrekturen konnten nicht gespeichert werden.
Rückgabewert: %s.
Stellen Sie die Datenbank wieder her; dabei wird sie erneut geprüft.</translation>
    </message>
    <message>
        <source>Correction failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation>Korrektur an der Datendatei „%s“ fehlgeschlagen.
Rückgabewert: %s.</translation>
    </message>
    <message>
        <source>The index of table &quot;%s&quot; does not match its records.
Reindex the database, then verify it again.</source>
        <translation>Der Index der Tabelle „%s“ passt nicht zu ihren Datensätzen.
Indizieren Sie die Datenbank neu und prüfen Sie sie dann erneut.</translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld does not refer to a valid %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation>Tabelle %s:
Albumcode %ld/%d/%ld verweist auf keinen gültigen Eintrag (%s).
Damit die Datenbank stimmig bleibt, wird empfohlen,
diesen Eintrag zu löschen. Möchten Sie ihn löschen?</translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld (&quot;%s&quot;)
contains a reference to an unexisting %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation>Tabelle %s:
Albumcode %ld/%d/%ld („%s“)
verweist auf einen nicht vorhandenen Eintrag (%s).
Damit die Datenbank stimmig bleibt, wird empfohlen,
diesen Eintrag zu löschen. Möchten Sie ihn löschen?</translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Duplicate sequence number %d, which can be moved to position %d.
 Correct?
</source>
        <translation>Tabelle %s, Zeile %ld/%d/%ld:
%s „%s“,
%s „%s“:
Doppelte Positionsnummer %d, die an Position %d verschoben werden kann.
 Korrigieren?
</translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Found sequence %d, but should be %d. Correct?
</source>
        <translation>Tabelle %s, Zeile %ld/%d/%ld:
%s „%s“,
%s „%s“:
Position %d gefunden, sollte aber %d sein. Korrigieren?
</translation>
    </message>
    <message>
        <source>Table %s:
Code of record %ld (&quot;%s&quot;)
duplicates an already existing one (&quot;%s&quot;).
It is not possible to correct it automatically.</source>
        <translation>Tabelle %s:
Der Code des Datensatzes %ld („%s“)
doppelt einen bereits vorhandenen („%s“).
Er kann nicht automatisch korrigiert werden.</translation>
    </message>
    <message>
        <source>Duplicate code</source>
        <translation>Doppelter Code</translation>
    </message>
    <message>
        <source>Table %s:
In %s %ld (&quot;%s&quot;),
reference count is %ld and should be %ld. Correct?</source>
        <translation>Tabelle %s:
Bei %s %ld („%s“)
ist der Verwendungszähler %ld und sollte %ld sein. Korrigieren?</translation>
    </message>
    <message>
        <source>Table %s:
In record %ld (&quot;%s&quot;),
auxattr is %ld and should be %ld. Correct?</source>
        <translation>Tabelle %s:
Im Datensatz %ld („%s“)
ist der erste Künstler %ld und sollte %ld sein. Korrigieren?</translation>
    </message>
    <message>
        <source>record</source>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>Table %s:
The full name &quot;%s&quot; of %s %ld:
%s.
To keep the database consistent, the recomended action
is to delete it. Do you want to delete it?</source>
        <translation>Tabelle %s:
Der vollständige Name „%s“ von %s %ld:
%s.
Damit die Datenbank stimmig bleibt, wird empfohlen,
ihn zu löschen. Möchten Sie ihn löschen?</translation>
    </message>
    <message>
        <source>Table %s:
Its index does not match its records (%s%s).
The correction is to reindex the database. Reindex it now?</source>
        <translation>Tabelle %s:
Ihr Index passt nicht zu ihren Datensätzen (%s%s).
Die Korrektur ist eine Neuindizierung der Datenbank. Jetzt neu indizieren?</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>unlesbar</translation>
    </message>
    <message>
        <source>, and %d more</source>
        <translation> und %d weitere</translation>
    </message>
    <message>
        <source>(none: the scan&apos;s file table could not be read)</source>
        <translation>(keines: Die Dateitabelle des Einlesens konnte nicht gelesen werden)</translation>
    </message>
    <message>
        <source>(none: the tables could not be prepared)</source>
        <translation>(keines: Die Tabellen konnten nicht vorbereitet werden)</translation>
    </message>
    <message>
        <source>(none: the folder %s could not be remembered)</source>
        <translation>(keines: Der Ordner %s konnte nicht gespeichert werden)</translation>
    </message>
    <message>
        <source>(the albums that follow their files)</source>
        <translation>(die Alben, die ihren Dateien folgen)</translation>
    </message>
    <message>
        <source>Operation create failed: the folder %s cannot be entered (%s); nothing was changed.</source>
        <translation>Anlegen fehlgeschlagen: Der Ordner %s kann nicht betreten werden (%s); nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Packing table %d of %d: %s</source>
        <translation>Packe Tabelle %d von %d: %s</translation>
    </message>
    <message>
        <source>Reindexing table %d of %d: %s</source>
        <translation>Indiziere Tabelle %d von %d neu: %s</translation>
    </message>
    <message>
        <source>albums</source>
        <translation>Alben</translation>
    </message>
    <message>
        <source>artists</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <source>songs</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>album artists</source>
        <translation>Künstler der Alben</translation>
    </message>
    <message>
        <source>album songs</source>
        <translation>Titel der Alben</translation>
    </message>
    <message>
        <source>full names</source>
        <translation>vollständige Namen</translation>
    </message>
    <message>
        <source>scanned files</source>
        <translation>eingelesene Dateien</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s</source>
        <translation>Prüfe Tabelle %d von %d: %s</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s (pass 1)</source>
        <translation>Prüfe Tabelle %d von %d: %s (Durchgang 1)</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s (pass 2)</source>
        <translation>Prüfe Tabelle %d von %d: %s (Durchgang 2)</translation>
    </message>
    <message>
        <source>undo the unfinished %s in %s</source>
        <translation>den unfertigen Vorgang (%s) in %s zurücknehmen</translation>
    </message>
    <message>
        <source>cannot %s: %s</source>
        <translation>kann nicht %s: %s</translation>
    </message>
    <message>
        <source>cannot open %s to undo the unfinished %s: %s</source>
        <translation>%s kann nicht geöffnet werden, um den unfertigen Vorgang (%s) zurückzunehmen: %s</translation>
    </message>
    <message>
        <source>undid an unfinished %s (%d records put back)</source>
        <translation>unfertigen Vorgang (%s) zurückgenommen (%d Datensätze zurückgeschrieben)</translation>
    </message>
    <message>
        <source>cannot open %s: %s</source>
        <translation>%s kann nicht geöffnet werden: %s</translation>
    </message>
    <message>
        <source>%s is shorter than its header</source>
        <translation>%s ist kürzer als sein Kopf</translation>
    </message>
    <message>
        <source>%s: deleted-record count %ld set to %ld</source>
        <translation>%s: Zahl gelöschter Datensätze %ld auf %ld gesetzt</translation>
    </message>
    <message>
        <source>correct the counters of %s</source>
        <translation>die Zähler von %s korrigieren</translation>
    </message>
    <message>
        <source>cannot drop the uncounted records past the end of %s: %s</source>
        <translation>die nicht gezählten Datensätze hinter dem Ende von %s können nicht verworfen werden: %s</translation>
    </message>
    <message>
        <source>%s: dropped an unfinished append past the last counted record</source>
        <translation>%s: ein unfertiges Anfügen hinter dem letzten gezählten Datensatz verworfen</translation>
    </message>
    <message>
        <source>cannot reindex %s: %s</source>
        <translation>%s kann nicht neu indiziert werden: %s</translation>
    </message>
    <message>
        <source>reindexed %s</source>
        <translation>%s neu indiziert</translation>
    </message>
    <message>
        <source>reindexed %s (%s)</source>
        <translation>%s neu indiziert (%s)</translation>
    </message>
    <message>
        <source>verification could not open the database</source>
        <translation>die Prüfung konnte die Datenbank nicht öffnen</translation>
    </message>
    <message>
        <source>set aside an unfinished %s of an earlier database in %s</source>
        <translation>unfertigen Vorgang (%s) einer früheren Datenbank in %s beiseitegelegt</translation>
    </message>
    <message>
        <source>cannot set it aside: %s</source>
        <translation>kann ihn nicht beiseitelegen: %s</translation>
    </message>
    <message>
        <source>cannot mark the undone edit in %s: %s</source>
        <translation>die zurückgenommene Änderung in %s kann nicht markiert werden: %s</translation>
    </message>
    <message>
        <source>removed the temporary file %s</source>
        <translation>temporäre Datei %s entfernt</translation>
    </message>
    <message>
        <source>integrity check of %s: %s</source>
        <translation>Integritätsprüfung von %s: %s</translation>
    </message>
    <message>
        <source>cannot open the database</source>
        <translation>die Datenbank kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>an interrupted change could not be undone: its journal %s is missing or damaged, and it had changed %s part way. Albums, artists or songs it was adding, removing, renaming or reordering may be lost or half changed.</source>
        <translation>eine unterbrochene Änderung konnte nicht zurückgenommen werden: Ihr Journal %s fehlt oder ist beschädigt, und sie hatte %s teilweise geändert. Alben, Künstler oder Titel, die sie hinzufügte, entfernte, umbenannte oder umordnete, können verloren oder halb geändert sein.</translation>
    </message>
    <message>
        <source>%s: skipped: %s</source>
        <translation>%s: übersprungen: %s</translation>
    </message>
    <message>
        <source>%s: a copy of %s (disc %d, track %d, &quot;%s&quot;): linked once</source>
        <translation>%s: eine Kopie von %s (CD %d, Stück %d, „%s“): nur einmal verknüpft</translation>
    </message>
    <message>
        <source>album %s would take its files&apos; name &quot;%s&quot;</source>
        <translation>Album %s würde den Namen seiner Dateien „%s“ übernehmen</translation>
    </message>
    <message>
        <source>album %s takes its files&apos; name &quot;%s&quot;</source>
        <translation>Album %s übernimmt den Namen seiner Dateien „%s“</translation>
    </message>
    <message>
        <source>album %s keeps the name given in the catalogue; its files name it &quot;%s&quot;; tracklore-cli scan --prefer-files &quot;%s&quot; takes the files&apos; version</source>
        <translation>Album %s behält den im Katalog gegebenen Namen; seine Dateien nennen es „%s“; tracklore-cli scan --prefer-files &quot;%s&quot; übernimmt die Fassung der Dateien</translation>
    </message>
    <message>
        <source>songs in another order</source>
        <translation>Titel in anderer Reihenfolge</translation>
    </message>
    <message>
        <source>artists in another order</source>
        <translation>Künstler in anderer Reihenfolge</translation>
    </message>
    <message>
        <source>are all gone</source>
        <translation>sind alle verschwunden</translation>
    </message>
    <message>
        <source>differ: %s</source>
        <translation>weichen ab: %s</translation>
    </message>
    <message>
        <source>songs only in the catalogue: </source>
        <translation>Titel nur im Katalog: </translation>
    </message>
    <message>
        <source>songs only in the files: </source>
        <translation>Titel nur in den Dateien: </translation>
    </message>
    <message>
        <source>artists only in the catalogue: </source>
        <translation>Künstler nur im Katalog: </translation>
    </message>
    <message>
        <source>artists only in the files: </source>
        <translation>Künstler nur in den Dateien: </translation>
    </message>
    <message>
        <source>album %s left alone: edited in the catalogue since it was scanned; its files %s; tracklore-cli scan --prefer-files &quot;%s&quot; takes the files&apos; version</source>
        <translation>Album %s unangetastet: seit dem Einlesen im Katalog bearbeitet; seine Dateien %s; tracklore-cli scan --prefer-files &quot;%s&quot; übernimmt die Fassung der Dateien</translation>
    </message>
    <message>
        <source>album %s would be removed: none of its files is left</source>
        <translation>Album %s würde entfernt: keine seiner Dateien ist mehr da</translation>
    </message>
    <message>
        <source>album %s removed: none of its files is left</source>
        <translation>Album %s entfernt: keine seiner Dateien ist mehr da</translation>
    </message>
    <message>
        <source>album %s would follow its files: %s</source>
        <translation>Album %s würde seinen Dateien folgen: %s</translation>
    </message>
    <message>
        <source>album %s follows its files: %s</source>
        <translation>Album %s folgt seinen Dateien: %s</translation>
    </message>
    <message>
        <source>songs removed: </source>
        <translation>Titel entfernt: </translation>
    </message>
    <message>
        <source>songs added: </source>
        <translation>Titel hinzugefügt: </translation>
    </message>
    <message>
        <source>artists removed: </source>
        <translation>Künstler entfernt: </translation>
    </message>
    <message>
        <source>artists added: </source>
        <translation>Künstler hinzugefügt: </translation>
    </message>
    <message>
        <source>transliterated</source>
        <translation>transliteriert</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>gekürzt</translation>
    </message>
    <message>
        <source>a stand-in</source>
        <translation>ein Ersatzname</translation>
    </message>
    <message>
        <source>mended</source>
        <translation>repariert</translation>
    </message>
    <message>
        <source>%s name &quot;%s&quot; stored as &quot;%s&quot; (%s), used in </source>
        <translation>Name (%s) „%s“ gespeichert als „%s“ (%s), verwendet in </translation>
    </message>
    <message>
        <source>%s: album &quot;%s&quot; left alone: the catalogue&apos;s differs: %s</source>
        <translation>%s: Album „%s“ unangetastet: das des Katalogs weicht ab: %s</translation>
    </message>
    <message>
        <source>%s/: missing or holds no audio file: nothing below it was changed</source>
        <translation>%s/: fehlt oder enthält keine Audiodatei: darunter wurde nichts geändert</translation>
    </message>
    <message>
        <source>The last change, the %s, cannot be undone (it rewrote more records than the undo history keeps), nor anything before it.</source>
        <translation>Die letzte Änderung (%s) kann nicht rückgängig gemacht werden (sie hat mehr Datensätze umgeschrieben, als der Rückgängig-Verlauf aufbewahrt), ebenso nichts davor.</translation>
    </message>
    <message>
        <source>Cannot keep the records the %s added aside (beside %s): nothing changed.</source>
        <translation>Die vom Vorgang (%s) hinzugefügten Datensätze können nicht beiseitegelegt werden (neben %s): nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The records the %s added, kept aside beside %s, are missing or damaged: it can no longer be redone.</source>
        <translation>Die vom Vorgang (%s) hinzugefügten Datensätze, beiseitegelegt neben %s, fehlen oder sind beschädigt: Er kann nicht mehr wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>cannot open %s</source>
        <translation>%s kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>%s is missing or damaged</source>
        <translation>%s fehlt oder ist beschädigt</translation>
    </message>
    <message>
        <source>cannot write %s</source>
        <translation>%s kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Fatal error (aborting)</source>
        <translation>Schwerer Fehler (Abbruch)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>The help page could not be found.
It is the file index.htm, installed under share/tracklore.</source>
        <translation>Die Hilfeseite wurde nicht gefunden.
Es ist die Datei index.htm, installiert unter share/tracklore.</translation>
    </message>
    <message>
        <source>The help page could not be shown.
It is the file %1</source>
        <translation>Die Hilfeseite konnte nicht angezeigt werden.
Es ist die Datei %1</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>Kind</name>
    <message>
        <source>album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>albums</source>
        <translation>Alben</translation>
    </message>
    <message>
        <source>Albums</source>
        <translation>Alben</translation>
    </message>
    <message>
        <source>artist</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <source>artists</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <source>Artists</source>
        <translation>Künstler</translation>
    </message>
    <message>
        <source>song</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Song</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>songs</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Songs</source>
        <translation>Titel</translation>
    </message>
</context>
<context>
    <name>Merge</name>
    <message>
        <source>&quot;%1&quot; (%2)</source>
        <translation>„%1“ (%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>The artists and songs the album kept lacks are appended to it, and the album merged is deleted.</source>
        <translation>Die Künstler und Titel, die dem behaltenen Album fehlen, werden ihm angefügt, und das zusammengeführte Album wird gelöscht.</translation>
    </message>
    <message>
        <source>The albums that use the %1 merged then use the one kept, and the one merged is deleted.</source>
        <translation>Die Alben, die den zusammengeführten Eintrag (%1) verwenden, verwenden danach den behaltenen, und der zusammengeführte wird gelöscht.</translation>
    </message>
    <message>
        <source>Merge failed; %1.</source>
        <translation>Zusammenführen fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Edit &gt; Undo takes a merge back.</source>
        <translation>Bearbeiten &gt; Rückgängig nimmt ein Zusammenführen zurück.</translation>
    </message>
    <message>
        <source>Merge %1 %2 into %3?</source>
        <translation>%1 %2 mit %3 zusammenführen?</translation>
    </message>
    <message>
        <source>Confirm merge</source>
        <translation>Zusammenführen bestätigen</translation>
    </message>
    <message>
        <source>The %1 %2 exists already.
Merge this %1 into it instead of making a second of that name?</source>
        <translation>%1 %2 gibt es bereits.
Diesen Eintrag (%1) damit zusammenführen, statt einen zweiten dieses Namens anzulegen?</translation>
    </message>
    <message>
        <source>Merge</source>
        <translation>Zusammenführen</translation>
    </message>
    <message>
        <source>Another album is named %1.
Merge this album into it?</source>
        <translation>Ein anderes Album heißt %1.
Dieses Album damit zusammenführen?</translation>
    </message>
    <message>
        <source>No renames this album, keeping two albums of that name.</source>
        <translation>Nein benennt dieses Album um, sodass es zwei Alben dieses Namens gibt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (used %2 time)</source>
        <translation>„%1“ (%2-mal verwendet)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (used %2 times)</source>
        <translation>„%1“ (%2-mal verwendet)</translation>
    </message>
</context>
<context>
    <name>Name</name>
    <message>
        <source>Update failed; %1.</source>
        <translation>Aktualisieren fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Record creation failed; %1.</source>
        <translation>Anlegen des Eintrags fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>A name cannot be empty or consist of blanks only.
Nothing has been changed.</source>
        <translation>Ein Name darf nicht leer sein oder nur aus Leerzeichen bestehen.
Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Invalid name</source>
        <translation>Ungültiger Name</translation>
    </message>
    <message>
        <source>The name has %1 characters, but %2 names hold at most %3.
Nothing has been changed.</source>
        <translation>Der Name hat %1 Zeichen, Namen (%2) fassen aber höchstens %3.
Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Changes have been made to current record. Do you want to save them?</source>
        <translation>Der aktuelle Eintrag wurde geändert. Möchten Sie die Änderungen speichern?</translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>Record update failed; %1.</source>
        <translation>Aktualisieren des Eintrags fehlgeschlagen; %1.</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>There is no database in the folder
%1.</source>
        <translation>Im Ordner
%1
liegt keine Datenbank.</translation>
    </message>
    <message>
        <source>The folder
%1
does not exist.</source>
        <translation>Der Ordner
%1
existiert nicht.</translation>
    </message>
    <message>
        <source>Do you want to create a new database there, or choose another folder?</source>
        <translation>Möchten Sie dort eine neue Datenbank anlegen oder einen anderen Ordner wählen?</translation>
    </message>
    <message>
        <source>Do you want to create a new database in
%1
or choose another folder?</source>
        <translation>Möchten Sie eine neue Datenbank in
%1
anlegen oder einen anderen Ordner wählen?</translation>
    </message>
    <message>
        <source>No database</source>
        <translation>Keine Datenbank</translation>
    </message>
    <message>
        <source>&amp;Create Database</source>
        <translation>Datenbank &amp;anlegen</translation>
    </message>
    <message>
        <source>C&amp;hoose Folder...</source>
        <translation>Ordner &amp;wählen...</translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation>&amp;Nicht jetzt</translation>
    </message>
    <message>
        <source>The database in the folder
%1
is in use by another program.
Close that program, then open the database again.</source>
        <translation>Die Datenbank im Ordner
%1
wird von einem anderen Programm verwendet.
Schließen Sie dieses Programm und öffnen Sie die Datenbank dann erneut.</translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to change its files.
Read-only mode may still open it.</source>
        <translation>Die Datenbank im Ordner
%1
kann nicht geöffnet werden: Sie dürfen ihre Dateien nicht ändern.
Im Nur-Lese-Modus lässt sie sich eventuell trotzdem öffnen.</translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to read its files.</source>
        <translation>Die Datenbank im Ordner
%1
kann nicht geöffnet werden: Sie dürfen ihre Dateien nicht lesen.</translation>
    </message>
    <message>
        <source>Database in use</source>
        <translation>Datenbank belegt</translation>
    </message>
    <message>
        <source>Database not accessible</source>
        <translation>Datenbank nicht zugänglich</translation>
    </message>
    <message>
        <source>it is in use by another program. Close that program, then switch again.</source>
        <translation>Sie wird von einem anderen Programm verwendet. Schließen Sie dieses Programm und wechseln Sie dann erneut.</translation>
    </message>
    <message>
        <source>you are not allowed to change its files.</source>
        <translation>Sie dürfen ihre Dateien nicht ändern.</translation>
    </message>
    <message>
        <source>Database stays read-only</source>
        <translation>Datenbank bleibt schreibgeschützt</translation>
    </message>
    <message>
        <source>The database cannot be opened for changes: %1</source>
        <translation>Die Datenbank kann nicht zum Ändern geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The last change to this database was interrupted before it was finished.</source>
        <translation>Die letzte Änderung an dieser Datenbank wurde unterbrochen, bevor sie fertig war.</translation>
    </message>
    <message>
        <source>The index files of this database are out of date or damaged (after an interrupted change, or a pack without reindex).</source>
        <translation>Die Indexdateien dieser Datenbank sind veraltet oder beschädigt (nach einer unterbrochenen Änderung oder einem Packen ohne Neuindizierung).</translation>
    </message>
    <message>
        <source>
Recover it now?

Recovery undoes an unfinished change, rebuilds the index files and verifies the database.</source>
        <translation>
Jetzt wiederherstellen?

Die Wiederherstellung nimmt eine unfertige Änderung zurück, baut die Indexdateien neu auf und prüft die Datenbank.</translation>
    </message>
    <message>
        <source>Recover database</source>
        <translation>Datenbank wiederherstellen</translation>
    </message>
    <message>
        <source>The database was recovered.</source>
        <translation>Die Datenbank wurde wiederhergestellt.</translation>
    </message>
    <message>
        <source>The database is whole again, but an interrupted change could not be undone.</source>
        <translation>Die Datenbank ist wieder vollständig, aber eine unterbrochene Änderung konnte nicht zurückgenommen werden.</translation>
    </message>
    <message>
        <source>Recovery failed: the database could not be made whole.</source>
        <translation>Wiederherstellung fehlgeschlagen: Die Datenbank konnte nicht wieder vollständig gemacht werden.</translation>
    </message>
    <message>
        <source>Recovery</source>
        <translation>Wiederherstellung</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: make room on the disk, then open the database again and recover it when asked.</source>
        <translation>Die Datenbank konnte nicht sauber geschlossen werden: %1.
Was sie noch enthielt, wurde nicht geschrieben; sie muss daher wiederhergestellt werden: Schaffen Sie Platz auf dem Datenträger, öffnen Sie die Datenbank dann erneut und stellen Sie sie wieder her, wenn Sie gefragt werden.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: open the database again and recover it when asked.</source>
        <translation>Die Datenbank konnte nicht sauber geschlossen werden: %1.
Was sie noch enthielt, wurde nicht geschrieben; sie muss daher wiederhergestellt werden: Öffnen Sie die Datenbank erneut und stellen Sie sie wieder her, wenn Sie gefragt werden.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The database is open read-only. To change it, uncheck Database &gt; Read-only mode in the main window.</source>
        <translation>Die Datenbank ist schreibgeschützt geöffnet. Um sie zu ändern, schalten Sie im Hauptfenster Datenbank &gt; Nur-Lese-Modus aus.</translation>
    </message>
    <message>
        <source>The number after each artist is how often albums use it: &quot;(3)&quot; is used 3 times.</source>
        <translation>Die Zahl nach jedem Künstler gibt an, wie oft Alben ihn verwenden: „(3)“ wird 3-mal verwendet.</translation>
    </message>
    <message>
        <source>The number after each song is how often albums use it: &quot;(3)&quot; is used 3 times, twice on one album counting twice.</source>
        <translation>Die Zahl nach jedem Titel gibt an, wie oft Alben ihn verwenden: „(3)“ wird 3-mal verwendet, zweimal auf einem Album zählt doppelt.</translation>
    </message>
    <message>
        <source>Scan music folder</source>
        <translation>Musikordner einlesen</translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>No audio file was found in %1 (hidden files and folders are read when asked): nothing was scanned.</source>
        <translation>In %1 wurde keine Audiodatei gefunden (versteckte Dateien und Ordner werden nur auf Wunsch gelesen): nichts wurde eingelesen.</translation>
    </message>
    <message>
        <source>No audio file was found in %1: nothing was scanned.</source>
        <translation>In %1 wurde keine Audiodatei gefunden: nichts wurde eingelesen.</translation>
    </message>
    <message>
        <source>The scan stopped at album %1: %2.
The albums of its finished batches are kept; recovery takes back the unfinished one, and a second scan completes the rest.</source>
        <translation>Das Einlesen brach bei Album %1 ab: %2.
Die Alben der fertigen Stapel bleiben erhalten; die Wiederherstellung nimmt den unfertigen zurück, und ein zweites Einlesen erledigt den Rest.</translation>
    </message>
    <message>
        <source>No music folder was scanned into this database yet.
Scan music folder... adds one.</source>
        <translation>In diese Datenbank wurde noch kein Musikordner eingelesen.
Musikordner einlesen... fügt einen hinzu.</translation>
    </message>
    <message>
        <source>Rescan music folders</source>
        <translation>Musikordner erneut einlesen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The catalogue of a private music collection.</source>
        <translation>Der Katalog einer privaten Musiksammlung.</translation>
    </message>
    <message>
        <source>The folder of the database to open.</source>
        <translation>Der Ordner der zu öffnenden Datenbank.</translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation>[Ordner]</translation>
    </message>
</context>
<context>
    <name>tracklore</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>tracklore::CAboutDlg</name>
    <message>
        <source>About Tracklore</source>
        <translation>Über Tracklore</translation>
    </message>
    <message>
        <source>Tracklore</source>
        <translation>Tracklore</translation>
    </message>
    <message>
        <source>Your music collection&apos;s database</source>
        <translation>Die Datenbank Ihrer Musiksammlung</translation>
    </message>
    <message>
        <source>Powered by Quillstore</source>
        <translation>Mit Quillstore</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>tracklore::CArticleDlg</name>
    <message>
        <source>Article detail</source>
        <translation>Albumdetails</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <source>&lt; Pre&amp;vious</source>
        <translation>&lt; &amp;Vorheriges</translation>
    </message>
    <message>
        <source>Nex&amp;t &gt;</source>
        <translation>Nä&amp;chstes &gt;</translation>
    </message>
    <message>
        <source>&amp;&lt;</source>
        <translation>&amp;&lt;</translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation>&amp;&gt;</translation>
    </message>
    <message>
        <source>&amp;Insert...</source>
        <translation>&amp;Einfügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>Re&amp;name...</source>
        <translation>&amp;Umbenennen...</translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation>&amp;Querverweis</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Hoch</translation>
    </message>
    <message>
        <source>D&amp;own</source>
        <translation>&amp;Runter</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Record name</source>
        <translation>Name des Eintrags</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Darunter anzeigen:</translation>
    </message>
    <message>
        <source>Insertion failed; %1.</source>
        <translation>Einfügen fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation>Entfernen bestätigen</translation>
    </message>
    <message>
        <source>Remove failed; %1.</source>
        <translation>Entfernen fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Move-up failed; %1.</source>
        <translation>Nach-oben-Verschieben fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Move-down failed; %1.</source>
        <translation>Nach-unten-Verschieben fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>Album name</source>
        <translation>Albumname</translation>
    </message>
    <message>
        <source>The album&apos;s name; Modify changes it</source>
        <translation>Der Name des Albums; Ändern ändert ihn</translation>
    </message>
    <message>
        <source>Album list shown</source>
        <translation>Angezeigte Albumliste</translation>
    </message>
    <message>
        <source>Whether the list below shows the album&apos;s artists or its songs</source>
        <translation>Ob die Liste darunter die Künstler oder die Titel des Albums zeigt</translation>
    </message>
    <message>
        <source>Album %1</source>
        <translation>Album: %1</translation>
    </message>
    <message>
        <source>In the album&apos;s order; Insert adds, Remove takes away</source>
        <translation>In der Reihenfolge des Albums; Einfügen fügt hinzu, Entfernen nimmt weg</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %1 &quot;%2&quot; from this %3?</source>
        <translation>%1 „%2“ wirklich aus diesem Eintrag (%3) entfernen?</translation>
    </message>
</context>
<context>
    <name>tracklore::CDuplicatesDlg</name>
    <message>
        <source>Find duplicates</source>
        <translation>Doppelte finden</translation>
    </message>
    <message>
        <source>&amp;Merge into selected</source>
        <translation>Mit Ausgewähltem &amp;zusammenführen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Darunter anzeigen:</translation>
    </message>
    <message>
        <source>No %1 with names alike.</source>
        <translation>Keine %1 mit ähnlichen Namen.</translation>
    </message>
    <message>
        <source>%1 %2 of %3 with names alike; select the one to keep.</source>
        <translation>%1 %2 ähnlich benannter Einträge (%3); wählen Sie den zu behaltenden.</translation>
    </message>
    <message>
        <source>group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>%1  [%2, %3 songs]   #%4</source>
        <translation>%1  [%2, %3 Titel]   #%4</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Whether artists, songs or albums are compared</source>
        <translation>Ob Künstler, Titel oder Alben verglichen werden</translation>
    </message>
    <message>
        <source>Likely duplicates</source>
        <translation>Wahrscheinliche Doppelte</translation>
    </message>
    <message>
        <source>Entries whose names differ only in case, accents, punctuation or blanks, grouped, each with its uses</source>
        <translation>Einträge, deren Namen sich nur in Groß-/Kleinschreibung, Akzenten, Satzzeichen oder Leerzeichen unterscheiden, gruppiert, jeweils mit ihren Verwendungen</translation>
    </message>
</context>
<context>
    <name>tracklore::CFoundDlg</name>
    <message>
        <source>Items found</source>
        <translation>Gefundene Einträge</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Albums containing %1 &quot;%2&quot; [%3]</source>
        <translation>Alben mit %1 „%2“ [%3]</translation>
    </message>
    <message>
        <source>Albums found:</source>
        <translation>Gefundene Alben:</translation>
    </message>
    <message>
        <source>(%1 song)</source>
        <translation>(%1 Titel)</translation>
    </message>
    <message>
        <source>(%1 songs)</source>
        <translation>(%1 Titel)</translation>
    </message>
    <message>
        <source>Albums found</source>
        <translation>Gefundene Alben</translation>
    </message>
    <message>
        <source>The albums that use the entry, by name</source>
        <translation>Die Alben, die den Eintrag verwenden, nach Namen</translation>
    </message>
</context>
<context>
    <name>tracklore::CMainDlg</name>
    <message>
        <source>&amp;&lt;</source>
        <translation>&amp;&lt;</translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation>&amp;&gt;</translation>
    </message>
    <message>
        <source>&amp;Enter key selects &amp;&amp; appends after new item creation</source>
        <translation>&amp;Eingabetaste wählt aus &amp;&amp; fügt an, nachdem ein Eintrag angelegt wurde</translation>
    </message>
    <message>
        <source>New item</source>
        <translation>Neuer Eintrag</translation>
    </message>
    <message>
        <source>&amp;View/Modify</source>
        <translation>Anzei&amp;gen/Ändern</translation>
    </message>
    <message>
        <source>&amp;X-ref</source>
        <translation>&amp;Querverweis</translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;append</source>
        <translation>Auswählen &amp;&amp; &amp;anfügen</translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;insert</source>
        <translation>Auswählen &amp;&amp; e&amp;infügen</translation>
    </message>
    <message>
        <source>Create &amp;New</source>
        <translation>&amp;Neu anlegen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Merge...</source>
        <translation>&amp;Zusammenführen...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Darunter anzeigen:</translation>
    </message>
    <message>
        <source>Type search text:</source>
        <translation>Suchtext eingeben:</translation>
    </message>
    <message>
        <source>Names hold at most %1 characters.</source>
        <translation>Namen fassen höchstens %1 Zeichen.</translation>
    </message>
    <message>
        <source>Pickup %1</source>
        <translation>%1 auswählen</translation>
    </message>
    <message>
        <source>%1 available in database [%2]</source>
        <translation>%1 in der Datenbank [%2]</translation>
    </message>
    <message>
        <source>Cannot create an empty %1; type its name before inserting.</source>
        <translation>Ein leerer Eintrag (%1) kann nicht angelegt werden; geben Sie vor dem Einfügen seinen Namen ein.</translation>
    </message>
    <message>
        <source>Nothing to do</source>
        <translation>Nichts zu tun</translation>
    </message>
    <message>
        <source>Do you want to create a new %1 &quot;%2&quot;?</source>
        <translation>Neuen Eintrag (%1) „%2“ anlegen?</translation>
    </message>
    <message>
        <source>Confirm insert</source>
        <translation>Anlegen bestätigen</translation>
    </message>
    <message>
        <source>An album named &quot;%1&quot; exists already; it is selected now.
Do you want to create a second album of that name?</source>
        <translation>Ein Album namens „%1“ gibt es bereits; es ist jetzt ausgewählt.
Möchten Sie ein zweites Album mit diesem Namen anlegen?</translation>
    </message>
    <message>
        <source>Cannot delete</source>
        <translation>Löschen nicht möglich</translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1 &quot;%2&quot;?</source>
        <translation>%1 „%2“ wirklich löschen?</translation>
    </message>
    <message>
        <source>Confirm deletion</source>
        <translation>Löschen bestätigen</translation>
    </message>
    <message>
        <source>Attention: album &quot;%1&quot; is not empty.
Are you really sure you want to delete the album and all its contents?</source>
        <translation>Achtung: Das Album „%1“ ist nicht leer.
Möchten Sie das Album samt seinem ganzen Inhalt wirklich löschen?</translation>
    </message>
    <message>
        <source>Not empty</source>
        <translation>Nicht leer</translation>
    </message>
    <message>
        <source>Delete failed; %1.</source>
        <translation>Löschen fehlgeschlagen; %1.</translation>
    </message>
    <message>
        <source>&amp;Merge into</source>
        <translation>&amp;Zusammenführen mit</translation>
    </message>
    <message>
        <source>Merging &quot;%1&quot;: select the %2 to keep and press Merge into.</source>
        <translation>„%1“ wird zusammengeführt: Wählen Sie den zu behaltenden Eintrag (%2) und drücken Sie „Zusammenführen mit“.</translation>
    </message>
    <message numerus="yes">
        <source>This %1 &quot;%2&quot; is referenced by %n album(s). It cannot be deleted.</source>
        <translation>
            <numerusform>%1 „%2“ wird von %n Album verwendet und kann nicht gelöscht werden.</numerusform>
            <numerusform>%1 „%2“ wird von %n Alben verwendet und kann nicht gelöscht werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Whether the list shows albums, artists or songs</source>
        <translation>Ob die Liste Alben, Künstler oder Titel zeigt</translation>
    </message>
    <message>
        <source>Type the start of a name to find it; Enter opens the selected entry</source>
        <translation>Geben Sie den Anfang eines Namens ein, um ihn zu finden; die Eingabetaste öffnet den ausgewählten Eintrag</translation>
    </message>
</context>
<context>
    <name>tracklore::CNameDlg</name>
    <message>
        <source>Edit %1 name:</source>
        <translation>Name bearbeiten (%1):</translation>
    </message>
    <message>
        <source>&amp;&lt;</source>
        <translation>&amp;&lt;</translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation>&amp;&gt;</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Confirm rename</source>
        <translation>Umbenennen bestätigen</translation>
    </message>
    <message>
        <source>The new name; OK renames the entry</source>
        <translation>Der neue Name; OK benennt den Eintrag um</translation>
    </message>
    <message numerus="yes">
        <source>This %1 has %n album(s) referring to it. Are you sure you want to rename it?</source>
        <translation>
            <numerusform>Dieser Eintrag (%1) wird von %n Album verwendet. Möchten Sie ihn wirklich umbenennen?</numerusform>
            <numerusform>Dieser Eintrag (%1) wird von %n Alben verwendet. Möchten Sie ihn wirklich umbenennen?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tracklore::CProgressWnd</name>
    <message>
        <source>Please wait....</source>
        <translation>Bitte warten....</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanFolderDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation>Musikordner einlesen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Read &amp;hidden files and folders (names beginning with a dot)</source>
        <translation>&amp;Versteckte Dateien und Ordner lesen (Namen, die mit einem Punkt beginnen)</translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation>&amp;Einlesen</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>The folder whose audio files are catalogued</source>
        <translation>Der Ordner, dessen Audiodateien katalogisiert werden</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanProgressDlg</name>
    <message>
        <source>Scanning music folder</source>
        <translation>Musikordner wird eingelesen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stopping: the albums done so far are kept...</source>
        <translation>Wird beendet: Die bisher erledigten Alben bleiben erhalten...</translation>
    </message>
    <message>
        <source>%1 of %2 file read</source>
        <translation>%1 von %2 Datei gelesen</translation>
    </message>
    <message>
        <source>%1 of %2 files read</source>
        <translation>%1 von %2 Dateien gelesen</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanReportDlg</name>
    <message>
        <source>Scan report</source>
        <translation>Einlesebericht</translation>
    </message>
    <message>
        <source>What the scan did with each file</source>
        <translation>Was das Einlesen mit jeder Datei getan hat</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save scan report</source>
        <translation>Einlesebericht speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt)|*.txt|All files (*.*)|*.*||</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||</translation>
    </message>
    <message>
        <source>The report could not be saved to %1: %2.</source>
        <translation>Der Bericht konnte nicht in %1 gespeichert werden: %2.</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanSummaryDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation>Musikordner einlesen</translation>
    </message>
    <message>
        <source>Show report</source>
        <translation>Bericht anzeigen</translation>
    </message>
    <message>
        <source>Albums left alone, as edited in the catalogue:</source>
        <translation>Unangetastete Alben, wie im Katalog bearbeitet:</translation>
    </message>
    <message>
        <source>Take the &amp;files&apos; version</source>
        <translation>Fassung der &amp;Dateien übernehmen</translation>
    </message>
    <message>
        <source>Albums left alone</source>
        <translation>Unangetastete Alben</translation>
    </message>
    <message>
        <source>Albums edited in the catalogue that the scan did not change</source>
        <translation>Im Katalog bearbeitete Alben, die das Einlesen nicht geändert hat</translation>
    </message>
</context>
<context>
    <name>tracklore::CSearchDlg</name>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Words of a name</source>
        <translation>Wörter eines Namens</translation>
    </message>
    <message>
        <source>Finds every album, artist and song whose name has each word at the start of one of its words, whatever the case, accents or script</source>
        <translation>Findet jedes Album, jeden Künstler und jeden Titel, dessen Name jedes Wort am Anfang eines seiner Wörter enthält, unabhängig von Groß-/Kleinschreibung, Akzenten und Schrift</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Finden</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Search for:</source>
        <translation>Suchen &amp;nach:</translation>
    </message>
    <message>
        <source>Type a word with a letter or a digit.</source>
        <translation>Geben Sie ein Wort mit einem Buchstaben oder einer Ziffer ein.</translation>
    </message>
    <message>
        <source>Nothing found.</source>
        <translation>Nichts gefunden.</translation>
    </message>
    <message>
        <source>%1 found.</source>
        <translation>%1 gefunden.</translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation>&amp;Querverweis</translation>
    </message>
    <message>
        <source>%1 found</source>
        <translation>Gefunden: %1</translation>
    </message>
    <message>
        <source>Enter opens the selected entry</source>
        <translation>Die Eingabetaste öffnet den ausgewählten Eintrag</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>What was found, one page per kind</source>
        <translation>Was gefunden wurde, eine Seite je Art</translation>
    </message>
</context>
<context>
    <name>tracklore::CShellDlg</name>
    <message>
        <source>Tracklore</source>
        <translation>Tracklore</translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation>&amp;Datenbank</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Other</source>
        <translation>&amp;Sonstiges</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Öffnen</translation>
    </message>
    <message>
        <source>Open in different &amp;directory...</source>
        <translation>In anderem &amp;Verzeichnis öffnen...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Pack</source>
        <translation>&amp;Packen</translation>
    </message>
    <message>
        <source>&amp;Reindex</source>
        <translation>&amp;Neu indizieren</translation>
    </message>
    <message>
        <source>Create &amp;new...</source>
        <translation>Neu &amp;anlegen...</translation>
    </message>
    <message>
        <source>&amp;Verify &amp;&amp; repair</source>
        <translation>Prüfen &amp;&amp; &amp;reparieren</translation>
    </message>
    <message>
        <source>&amp;Scan music folder...</source>
        <translation>Musikordner &amp;einlesen...</translation>
    </message>
    <message>
        <source>R&amp;escan music folders</source>
        <translation>Musikordner erne&amp;ut einlesen</translation>
    </message>
    <message>
        <source>Rescan music folders at s&amp;tart</source>
        <translation>Musikordner beim S&amp;tart erneut einlesen</translation>
    </message>
    <message>
        <source>Read-&amp;only mode</source>
        <translation>Nur-&amp;Lese-Modus</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>Find &amp;duplicates...</source>
        <translation>&amp;Doppelte finden...</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>&amp;Search...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>S&amp;tatistik...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Browse the database</source>
        <translation>Datenbank durchsuchen</translation>
    </message>
    <message>
        <source>Use &amp;read-only mode</source>
        <translation>Nur-&amp;Lese-Modus verwenden</translation>
    </message>
    <message>
        <source>Database closed</source>
        <translation>Datenbank geschlossen</translation>
    </message>
    <message>
        <source>Current database directory</source>
        <translation>Aktuelles Datenbankverzeichnis</translation>
    </message>
    <message>
        <source>Database open</source>
        <translation>Datenbank geöffnet</translation>
    </message>
    <message>
        <source>Tracklore (read-only)</source>
        <translation>Tracklore (schreibgeschützt)</translation>
    </message>
    <message>
        <source>The database does not open.</source>
        <translation>Die Datenbank lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation>Die Datenbank ist schreibgeschützt geöffnet.</translation>
    </message>
    <message>
        <source>The database is open for changes.</source>
        <translation>Die Datenbank ist zum Ändern geöffnet.</translation>
    </message>
    <message>
        <source>Recovery complete.</source>
        <translation>Wiederherstellung abgeschlossen.</translation>
    </message>
    <message>
        <source>Recovery complete, but an interrupted change was lost.</source>
        <translation>Wiederherstellung abgeschlossen, aber eine unterbrochene Änderung ging verloren.</translation>
    </message>
    <message>
        <source>Recovery failed.</source>
        <translation>Wiederherstellung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Recovery failed: the database does not open.</source>
        <translation>Wiederherstellung fehlgeschlagen: Die Datenbank lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The database does not open again.</source>
        <translation>Die Datenbank lässt sich nicht wieder öffnen.</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Pack failed.</source>
        <translation>Packen fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Pack complete: the database needs a reindex.</source>
        <translation>Packen abgeschlossen: Die Datenbank muss neu indiziert werden.</translation>
    </message>
    <message>
        <source>Pack succeeded.
Before you can use this database, you need to reindex it.
Do you want to reindex the database?</source>
        <translation>Packen erfolgreich.
Bevor Sie diese Datenbank verwenden können, muss sie neu indiziert werden.
Möchten Sie die Datenbank neu indizieren?</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolg</translation>
    </message>
    <message>
        <source>Reindex failed.</source>
        <translation>Neuindizierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Reindex complete.</source>
        <translation>Neuindizierung abgeschlossen.</translation>
    </message>
    <message>
        <source>Reindex succeeded.
Would you like to open the database?</source>
        <translation>Neuindizierung erfolgreich.
Möchten Sie die Datenbank öffnen?</translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation>Prüfung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Verification complete: no problems found.</source>
        <translation>Prüfung abgeschlossen: keine Probleme gefunden.</translation>
    </message>
    <message>
        <source>Verification complete.</source>
        <translation>Prüfung abgeschlossen.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Do you really want to exit the program?</source>
        <translation>Möchten Sie das Programm wirklich beenden?</translation>
    </message>
    <message>
        <source>Confirm exit</source>
        <translation>Beenden bestätigen</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
    <message>
        <source>Verification complete: %1 corrected.</source>
        <translation>Prüfung abgeschlossen: %1 korrigiert.</translation>
    </message>
    <message>
        <source>Verification complete: %1 found, %2 corrected.</source>
        <translation>Prüfung abgeschlossen: %1 gefunden, %2 korrigiert.</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Browse the database&apos;s albums, artists and songs</source>
        <translation>Alben, Künstler und Titel der Datenbank durchsuchen</translation>
    </message>
    <message>
        <source>The folder of the open database</source>
        <translation>Der Ordner der geöffneten Datenbank</translation>
    </message>
    <message>
        <source>Choose the folder of the database</source>
        <translation>Ordner der Datenbank wählen</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened.</source>
        <translation>Der Ordner %1 kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Choose the folder for the new database</source>
        <translation>Ordner für die neue Datenbank wählen</translation>
    </message>
</context>
<context>
    <name>tracklore::CStatsDlg</name>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>&amp;Delete unused</source>
        <translation>Unbenutzte &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>The statistics failed; returned %1.</source>
        <translation>Die Statistik ist fehlgeschlagen; Rückgabewert %1.</translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation>Die Datenbank ist schreibgeschützt geöffnet.</translation>
    </message>
    <message>
        <source>Deletes the artists and songs that no album uses, as one edit. Edit &gt; Undo takes it back.</source>
        <translation>Löscht die Künstler und Titel, die kein Album verwendet, in einem Schritt. Bearbeiten &gt; Rückgängig nimmt das zurück.</translation>
    </message>
    <message>
        <source>Delete %1 artists and %2 songs that no album uses?
Edit &gt; Undo takes it back.</source>
        <translation>%1 Künstler und %2 Titel löschen, die kein Album verwendet?
Bearbeiten &gt; Rückgängig nimmt das zurück.</translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation>Bereinigen bestätigen</translation>
    </message>
    <message>
        <source>Purge failed; returned %1.</source>
        <translation>Bereinigen fehlgeschlagen; Rückgabewert %1.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Counts of the catalogue&apos;s entries and links</source>
        <translation>Anzahl der Einträge und Verknüpfungen des Katalogs</translation>
    </message>
</context>
</TS>
