<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Catalogue</name>
    <message>
        <source>Pack</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reindex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid title code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>row of no album deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rows of no album deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid attr code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>row of no artist or song deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rows of no artist or song deleted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sequencing error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sequence number corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sequence numbers corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid reference count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reference count corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reference counts corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid aux attr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>first artist corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>first artists corrected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid full name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>full name removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>full names removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Damaged index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>damaged index rebuilt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>damaged indexes rebuilt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s corrected: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>verification: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (and %s more)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>verification found what it cannot correct: %s: %s%s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
The file %s cannot be written; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation create failed: no file can be made in this directory; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creation stopped at table &quot;%s&quot;, which is unfinished.
Replaced by new empty tables: %s.
Left as they were: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose directory where database will be created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database main files (*.db1)|*.db1||</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A database (or remains thereof) already seems to exist in this directory.
If you go ahead and create a new database, the current one will be overwritten.
Are you sure you want to proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no more references to &quot;%s&quot;.
Would you like to purge (delete) it from the database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s failed: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s failed: the table file %s is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s failed: the database needs recovery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s failed. Check if a file is open or locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is using the database; waiting for it to finish.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is using the database to read it (table &quot;%s&quot; is held).
It can be read meanwhile; changes must wait until that program has closed it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is using the database (table &quot;%s&quot; is held).
Try again when it has finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %s cannot be written (%s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %s cannot be read (%s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s; nothing was changed. The database can still be opened for reading.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the program that uses the database (or wait for it to end), then recover again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put the missing file back (from where it was moved, or from a backup of the database&apos;s folder), then recover again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make room on the disk and make sure the database&apos;s files may be written, then recover again. If it fails the same way, the database is damaged: keep a copy of its folder and restore it from a backup.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is damaged beyond what recovery mends. Keep a copy of its folder, export what can still be read (tracklore-cli export), and restore the database from a backup, or create a new one and import the export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records whose status byte is damaged are read as live: pack the database (tracklore-cli pack), which writes them so, then recover again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is consistent again. Look at the albums you changed last: what that change did may be missing or half done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the disk is full: %lld MB more are needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>returned %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>audio file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>audio files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> read, %d skipped, %d not audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %d hidden not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no audio file found: nothing to scan
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s in %s, %s linked once
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>albums: %d %s, %d completed, %d already there, %d left alone
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to create %s and %s
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>created %s and %s
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rescan: %s unchanged (not opened), %d gone; albums following their files: %d %s, %d %s, %d edited left alone
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>changed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>removed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s: missing or holds no audio file: nothing below it was changed
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>names: %d transliterated, %d cut, %d stand-ins, %d mended
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dry run: nothing was written
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing changed: the catalogue already holds these files
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing changed: %s edited since the scan left alone; the report says what differs and how to take the files&apos; version
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cancelled: the albums done so far are kept
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not kept: %d %s of the unfinished batch, which recovery takes back
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums: %ld
Artists: %ld
Songs: %ld
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links to artists: %lld
Links to songs: %lld
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  ... and %zu more
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums without artists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums without songs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artists no album uses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Songs no album uses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artists on the most albums:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
It is not a table of a music database: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
Return value: %s.
%s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names are kept in their stored form only until it can be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scans remember no file until it can be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: its file %s is missing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose database main file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is nothing to redo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is nothing to undo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The undo history %s is damaged: nothing changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last change, the %s, cannot be undone, nor anything before it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database must be open for writing, by this program alone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be redone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the journal %s: nothing changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the redo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the undo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The redo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The undo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redone: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*** not found ***</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The corrections could not be saved.
Return value: %s.
Recover the database, which verifies it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The index of table &quot;%s&quot; does not match its records.
Reindex the database, then verify it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld does not refer to a valid %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld (&quot;%s&quot;)
contains a reference to an unexisting %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Duplicate sequence number %d, which can be moved to position %d.
 Correct?
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Found sequence %d, but should be %d. Correct?
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
Code of record %ld (&quot;%s&quot;)
duplicates an already existing one (&quot;%s&quot;).
It is not possible to correct it automatically.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
In %s %ld (&quot;%s&quot;),
reference count is %ld and should be %ld. Correct?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
In record %ld (&quot;%s&quot;),
auxattr is %ld and should be %ld. Correct?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying table %d of %d [%s]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying table %d of %d [%s] (pass 1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verifying table %d of %d [%s] (pass 2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
The full name &quot;%s&quot; of %s %ld:
%s.
To keep the database consistent, the recomended action
is to delete it. Do you want to delete it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table %s:
Its index does not match its records (%s%s).
The correction is to reindex the database. Reindex it now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, and %d more</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fatal error (aborting)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>The help page could not be found.
It is the file index.htm, installed under share/tracklore.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help page could not be shown.
It is the file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Kind</name>
    <message>
        <source>album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>albums</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>artist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>artists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>songs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Songs</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Merge</name>
    <message>
        <source>&quot;%1&quot; (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The artists and songs the album kept lacks are appended to it, and the album merged is deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The albums that use the %1 merged then use the one kept, and the one merged is deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit &gt; Undo takes a merge back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge %1 %2 into %3?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm merge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The %1 %2 exists already.
Merge this %1 into it instead of making a second of that name?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another album is named %1.
Merge this album into it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No renames this album, keeping two albums of that name.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Name</name>
    <message>
        <source>Update failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record creation failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A name cannot be empty or consist of blanks only.
Nothing has been changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The name has %1 characters, but %2 names hold at most %3.
Nothing has been changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes have been made to current record. Do you want to save them?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record update failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>There is no database in the folder
%1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder
%1
does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to create a new database there, or choose another folder?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to create a new database in
%1
or choose another folder?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Create Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;hoose Folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database in the folder
%1
is in use by another program.
Close that program, then open the database again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to change its files.
Read-only mode may still open it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to read its files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database in use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database not accessible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is in use by another program. Close that program, then switch again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>you are not allowed to change its files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database stays read-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database cannot be opened for changes: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last change to this database was interrupted before it was finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The index files of this database are out of date or damaged (after an interrupted change, or a pack without reindex).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Recover it now?

Recovery undoes an unfinished change, rebuilds the index files and verifies the database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recover database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database was recovered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is whole again, but an interrupted change could not be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery failed: the database could not be made whole.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: make room on the disk, then open the database again and recover it when asked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: open the database again and recover it when asked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The database is open read-only. To change it, uncheck Database &gt; Read-only mode in the main window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number after each artist is how often albums use it: &quot;(3)&quot; is used 3 times.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number after each song is how often albums use it: &quot;(3)&quot; is used 3 times, twice on one album counting twice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan music folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>No audio file was found in %1 (hidden files and folders are read when asked): nothing was scanned.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No audio file was found in %1: nothing was scanned.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The scan stopped at album %1: %2.
The albums of its finished batches are kept; recovery takes back the unfinished one, and a second scan completes the rest.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No music folder was scanned into this database yet.
Scan music folder... adds one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rescan music folders</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The catalogue of a private music collection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder of the database to open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CAboutDlg</name>
    <message>
        <source>About Tracklore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tracklore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your music collection&apos;s database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Powered by Quillstore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CArticleDlg</name>
    <message>
        <source>Article detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nex&amp;t &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;name...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D&amp;own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insertion failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to remove %1 &quot;%2&quot; from this album?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move-up failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move-down failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CDuplicatesDlg</name>
    <message numerus="yes">
        <source>%1  [%2, %n song(s)]   #%3</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Find duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Merge into selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No %1 with names alike.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 of %3 with names alike; select the one to keep.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>groups</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CFoundDlg</name>
    <message numerus="yes">
        <source>(%n song(s))</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Items found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums containing %1 &quot;%2&quot; [%3]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums found:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CMainDlg</name>
    <message>
        <source>&amp;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Enter key selects &amp;&amp; appends after new item creation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View/Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;X-ref</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create &amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Merge...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type search text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Names hold at most %1 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pickup %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 available in database [%2]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create an empty %1; type its name before inserting.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing to do</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to create a new %1 &quot;%2&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An album named &quot;%1&quot; exists already; it is selected now.
Do you want to create a second album of that name?</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>This %1 &quot;%2&quot; is used by %n album(s). It cannot be deleted.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1 &quot;%2&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm deletion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attention: album &quot;%1&quot; is not empty.
Are you really sure you want to delete the album and all its contents?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete failed; %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Merge into</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merging &quot;%1&quot;: select the %2 to keep and press Merge into.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CNameDlg</name>
    <message>
        <source>Edit %1 name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>This %1 is used by %n album(s). Are you sure you want to rename it?</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Confirm rename</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CProgressWnd</name>
    <message>
        <source>Please wait....</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CScanFolderDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read &amp;hidden files and folders (names beginning with a dot)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CScanProgressDlg</name>
    <message>
        <source>Scanning music folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopping: the albums done so far are kept...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 file read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 files read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CScanSummaryDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Albums left alone, as edited in the catalogue:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take the &amp;files&apos; version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan report</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CSearchDlg</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words of a name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finds every album, artist and song whose name has each word at the start of one of its words, whatever the case, accents or script</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a word with a letter or a digit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CShellDlg</name>
    <message>
        <source>Tracklore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in different &amp;directory...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pack</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reindex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create &amp;new...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Verify &amp;&amp; repair</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Scan music folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R&amp;escan music folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rescan music folders at s&amp;tart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read-&amp;only mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extra button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse the database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use &amp;read-only mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current database directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tracklore (read-only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database does not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is open for changes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery complete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery complete, but an interrupted change was lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recovery failed: the database does not open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 cannot be used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database does not open again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pack failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pack complete: the database needs a reindex.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pack succeeded.
Before you can use this database, you need to reindex it.
Do you want to reindex the database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reindex failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reindex complete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reindex succeeded.
Would you like to open the database?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verification complete: no problems found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Verification complete: %n problem(s) corrected.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Verification complete: %n problem(s) found, %1 corrected.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Verification complete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to exit the program?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tracklore::CStatsDlg</name>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete unused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The statistics failed; returned %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes the artists and songs that no album uses, as one edit. Edit &gt; Undo takes it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 artists and %2 songs that no album uses?
Edit &gt; Undo takes it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purge failed; returned %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failure</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
