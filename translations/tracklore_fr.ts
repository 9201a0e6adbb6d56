<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Catalogue</name>
    <message>
        <source>Pack</source>
        <translation>Compactage</translation>
    </message>
    <message>
        <source>Reindex</source>
        <translation>Réindexation</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Invalid title code</source>
        <translation>Code d&apos;album invalide</translation>
    </message>
    <message>
        <source>row of no album deleted</source>
        <translation>ligne sans album supprimée</translation>
    </message>
    <message>
        <source>rows of no album deleted</source>
        <translation>lignes sans album supprimées</translation>
    </message>
    <message>
        <source>Invalid attr code</source>
        <translation>Code de référence invalide</translation>
    </message>
    <message>
        <source>row of no artist or song deleted</source>
        <translation>ligne sans artiste ni morceau supprimée</translation>
    </message>
    <message>
        <source>rows of no artist or song deleted</source>
        <translation>lignes sans artiste ni morceau supprimées</translation>
    </message>
    <message>
        <source>Sequencing error</source>
        <translation>Erreur d&apos;ordre</translation>
    </message>
    <message>
        <source>sequence number corrected</source>
        <translation>numéro de position corrigé</translation>
    </message>
    <message>
        <source>sequence numbers corrected</source>
        <translation>numéros de position corrigés</translation>
    </message>
    <message>
        <source>Invalid reference count</source>
        <translation>Compteur d&apos;utilisations invalide</translation>
    </message>
    <message>
        <source>reference count corrected</source>
        <translation>compteur d&apos;utilisations corrigé</translation>
    </message>
    <message>
        <source>reference counts corrected</source>
        <translation>compteurs d&apos;utilisations corrigés</translation>
    </message>
    <message>
        <source>Invalid aux attr</source>
        <translation>Premier artiste invalide</translation>
    </message>
    <message>
        <source>first artist corrected</source>
        <translation>premier artiste corrigé</translation>
    </message>
    <message>
        <source>first artists corrected</source>
        <translation>premiers artistes corrigés</translation>
    </message>
    <message>
        <source>Invalid full name</source>
        <translation>Nom complet invalide</translation>
    </message>
    <message>
        <source>full name removed</source>
        <translation>nom complet supprimé</translation>
    </message>
    <message>
        <source>full names removed</source>
        <translation>noms complets supprimés</translation>
    </message>
    <message>
        <source>Damaged index</source>
        <translation>Index endommagé</translation>
    </message>
    <message>
        <source>damaged index rebuilt</source>
        <translation>index endommagé reconstruit</translation>
    </message>
    <message>
        <source>damaged indexes rebuilt</source>
        <translation>index endommagés reconstruits</translation>
    </message>
    <message>
        <source>%s corrected: %s</source>
        <translation>%s corrigé(s) : %s</translation>
    </message>
    <message>
        <source>verification: %s</source>
        <translation>vérification : %s</translation>
    </message>
    <message>
        <source> (and %s more)</source>
        <translation> (et %s de plus)</translation>
    </message>
    <message>
        <source>verification found what it cannot correct: %s: %s%s</source>
        <translation>la vérification a trouvé ce qu&apos;elle ne peut corriger : %s : %s%s</translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
The file %s cannot be written; nothing was changed.</source>
        <translation>La création du fichier de données « %s » a échoué.
Le fichier %s ne peut pas être écrit ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>Operation create failed: no file can be made in this directory; nothing was changed.</source>
        <translation>La création a échoué : aucun fichier ne peut être créé dans ce dossier ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>Creation stopped at table &quot;%s&quot;, which is unfinished.
Replaced by new empty tables: %s.
Left as they were: %s.</source>
        <translation>La création s&apos;est arrêtée à la table « %s », qui est inachevée.
Remplacées par de nouvelles tables vides : %s.
Laissées telles quelles : %s.</translation>
    </message>
    <message>
        <source>Choose directory where database will be created</source>
        <translation>Choisir le dossier où créer la base de données</translation>
    </message>
    <message>
        <source>Database main files (*.db1)|*.db1||</source>
        <translation>Fichiers principaux de base de données (*.db1)|*.db1||</translation>
    </message>
    <message>
        <source>A database (or remains thereof) already seems to exist in this directory.
If you go ahead and create a new database, the current one will be overwritten.
Are you sure you want to proceed?</source>
        <translation>Une base de données (ou ce qu&apos;il en reste) semble déjà exister dans ce dossier.
Si vous créez une nouvelle base de données, l&apos;actuelle sera écrasée.
Voulez-vous vraiment continuer ?</translation>
    </message>
    <message>
        <source>Create database</source>
        <translation>Créer une base de données</translation>
    </message>
    <message>
        <source>There are no more references to &quot;%s&quot;.
Would you like to purge (delete) it from the database?</source>
        <translation>« %s » n&apos;est plus utilisé nulle part.
Voulez-vous le purger (supprimer) de la base de données ?</translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation>Confirmer la purge</translation>
    </message>
    <message>
        <source>%s failed: %s</source>
        <translation>%s : échec : %s</translation>
    </message>
    <message>
        <source>%s failed: the table file %s is missing</source>
        <translation>%s : échec : le fichier de table %s est manquant</translation>
    </message>
    <message>
        <source>%s failed: the database needs recovery</source>
        <translation>%s : échec : la base de données doit être récupérée</translation>
    </message>
    <message>
        <source>%s failed. Check if a file is open or locked</source>
        <translation>%s : échec. Vérifiez si un fichier est ouvert ou verrouillé</translation>
    </message>
    <message>
        <source>Another program is using the database; waiting for it to finish.</source>
        <translation>Un autre programme utilise la base de données ; attente de sa fin.</translation>
    </message>
    <message>
        <source>Another program is using the database to read it (table &quot;%s&quot; is held).
It can be read meanwhile; changes must wait until that program has closed it.</source>
        <translation>Un autre programme lit la base de données (la table « %s » est occupée).
Elle peut être lue en attendant ; les modifications doivent attendre que ce programme l&apos;ait fermée.</translation>
    </message>
    <message>
        <source>Another program is using the database (table &quot;%s&quot; is held).
Try again when it has finished.</source>
        <translation>Un autre programme utilise la base de données (la table « %s » est occupée).
Réessayez quand il aura terminé.</translation>
    </message>
    <message>
        <source>The file %s cannot be written (%s)</source>
        <translation>Le fichier %s ne peut pas être écrit (%s)</translation>
    </message>
    <message>
        <source>The file %s cannot be read (%s)</source>
        <translation>Le fichier %s ne peut pas être lu (%s)</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s; nothing was changed. The database can still be opened for reading.</source>
        <translation>L&apos;ouverture du fichier de données « %s » a échoué.
%s ; rien n&apos;a été modifié. La base de données peut encore être ouverte en lecture.</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
%s.</source>
        <translation>L&apos;ouverture du fichier de données « %s » a échoué.
%s.</translation>
    </message>
    <message>
        <source>Close the program that uses the database (or wait for it to end), then recover again.</source>
        <translation>Fermez le programme qui utilise la base de données (ou attendez qu&apos;il se termine), puis relancez la récupération.</translation>
    </message>
    <message>
        <source>Put the missing file back (from where it was moved, or from a backup of the database&apos;s folder), then recover again.</source>
        <translation>Remettez le fichier manquant en place (depuis l&apos;endroit où il a été déplacé, ou depuis une sauvegarde du dossier de la base de données), puis relancez la récupération.</translation>
    </message>
    <message>
        <source>Make room on the disk and make sure the database&apos;s files may be written, then recover again. If it fails the same way, the database is damaged: keep a copy of its folder and restore it from a backup.</source>
        <translation>Libérez de la place sur le disque et assurez-vous que les fichiers de la base de données peuvent être écrits, puis relancez la récupération. Si elle échoue de la même façon, la base de données est endommagée : gardez une copie de son dossier et restaurez-la depuis une sauvegarde.</translation>
    </message>
    <message>
        <source>The database is damaged beyond what recovery mends. Keep a copy of its folder, export what can still be read (tracklore-cli export), and restore the database from a backup, or create a new one and import the export.</source>
        <translation>La base de données est plus endommagée que la récupération ne peut le réparer. Gardez une copie de son dossier, exportez ce qui peut encore être lu (tracklore-cli export), puis restaurez la base de données depuis une sauvegarde, ou créez-en une nouvelle et importez l&apos;export.</translation>
    </message>
    <message>
        <source>Records whose status byte is damaged are read as live: pack the database (tracklore-cli pack), which writes them so, then recover again.</source>
        <translation>Les enregistrements dont l&apos;octet d&apos;état est endommagé sont lus comme valides : compactez la base de données (tracklore-cli pack), qui les écrit ainsi, puis relancez la récupération.</translation>
    </message>
    <message>
        <source>The database is consistent again. Look at the albums you changed last: what that change did may be missing or half done.</source>
        <translation>La base de données est de nouveau cohérente. Regardez les derniers albums que vous avez modifiés : l&apos;effet de cette modification peut manquer ou être à moitié fait.</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>the disk is full: %lld MB more are needed</source>
        <translation>le disque est plein : %lld Mo de plus sont nécessaires</translation>
    </message>
    <message>
        <source>returned %s</source>
        <translation>code retourné %s</translation>
    </message>
    <message>
        <source>audio file</source>
        <translation>fichier audio</translation>
    </message>
    <message>
        <source>audio files</source>
        <translation>fichiers audio</translation>
    </message>
    <message>
        <source> read, %d skipped, %d not audio</source>
        <translation> lu(s), %d ignoré(s), %d non audio</translation>
    </message>
    <message>
        <source>, %d hidden not read</source>
        <translation>, %d caché(s) non lu(s)</translation>
    </message>
    <message>
        <source>no audio file found: nothing to scan
</source>
        <translation>aucun fichier audio trouvé : rien à analyser
</translation>
    </message>
    <message>
        <source>%s in %s, %s linked once
</source>
        <translation>%s dans %s, %s liée(s) une seule fois
</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>copie</translation>
    </message>
    <message>
        <source>copies</source>
        <translation>copies</translation>
    </message>
    <message>
        <source>albums: %d %s, %d completed, %d already there, %d left alone
</source>
        <translation>albums : %d %s, %d complétés, %d déjà présents, %d laissés tels quels
</translation>
    </message>
    <message>
        <source>to add</source>
        <translation>à ajouter</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajoutés</translation>
    </message>
    <message>
        <source>to create %s and %s
</source>
        <translation>à créer : %s et %s
</translation>
    </message>
    <message>
        <source>created %s and %s
</source>
        <translation>créés : %s et %s
</translation>
    </message>
    <message>
        <source>rescan: %s unchanged (not opened), %d gone; albums following their files: %d %s, %d %s, %d edited left alone
</source>
        <translation>nouvelle analyse : %s inchangé(s) (non ouvert(s)), %d disparu(s) ; albums qui suivent leurs fichiers : %d %s, %d %s, %d modifiés laissés tels quels
</translation>
    </message>
    <message>
        <source>file</source>
        <translation>fichier</translation>
    </message>
    <message>
        <source>files</source>
        <translation>fichiers</translation>
    </message>
    <message>
        <source>to change</source>
        <translation>à modifier</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>modifiés</translation>
    </message>
    <message>
        <source>to remove</source>
        <translation>à supprimer</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>supprimés</translation>
    </message>
    <message>
        <source>%s: missing or holds no audio file: nothing below it was changed
</source>
        <translation>%s : absent ou sans fichier audio : rien n&apos;a été modifié en dessous
</translation>
    </message>
    <message>
        <source>names: %d transliterated, %d cut, %d stand-ins, %d mended
</source>
        <translation>noms : %d translittérés, %d tronqués, %d de remplacement, %d réparés
</translation>
    </message>
    <message>
        <source>dry run: nothing was written
</source>
        <translation>essai à blanc : rien n&apos;a été écrit
</translation>
    </message>
    <message>
        <source>nothing changed: the catalogue already holds these files
</source>
        <translation>rien n&apos;a changé : le catalogue contient déjà ces fichiers
</translation>
    </message>
    <message>
        <source>nothing changed: %s edited since the scan left alone; the report says what differs and how to take the files&apos; version
</source>
        <translation>rien n&apos;a changé : %s modifié(s) depuis l&apos;analyse laissé(s) tel(s) quel(s) ; le rapport indique ce qui diffère et comment reprendre la version des fichiers
</translation>
    </message>
    <message>
        <source>cancelled: the albums done so far are kept
</source>
        <translation>annulé : les albums déjà traités sont conservés
</translation>
    </message>
    <message>
        <source>not kept: %d %s of the unfinished batch, which recovery takes back
</source>
        <translation>non conservés : %d %s du lot inachevé, que la récupération annule
</translation>
    </message>
    <message>
        <source>Albums: %ld
Artists: %ld
Songs: %ld
</source>
        <translation>Albums : %ld
Artistes : %ld
Morceaux : %ld
</translation>
    </message>
    <message>
        <source>Links to artists: %lld
Links to songs: %lld
</source>
        <translation>Liens vers des artistes : %lld
Liens vers des morceaux : %lld
</translation>
    </message>
    <message>
        <source>  ... and %zu more
</source>
        <translation>  ... et %zu de plus
</translation>
    </message>
    <message>
        <source>Albums without artists</source>
        <translation>Albums sans artiste</translation>
    </message>
    <message>
        <source>Albums without songs</source>
        <translation>Albums sans morceau</translation>
    </message>
    <message>
        <source>Artists no album uses</source>
        <translation>Artistes utilisés par aucun album</translation>
    </message>
    <message>
        <source>Songs no album uses</source>
        <translation>Morceaux utilisés par aucun album</translation>
    </message>
    <message>
        <source>Artists on the most albums:
</source>
        <translation>Artistes présents sur le plus d&apos;albums :
</translation>
    </message>
    <message>
        <source>Operation open failed on Datafile &quot;%s&quot;.
It is not a table of a music database: %s.</source>
        <translation>L&apos;ouverture du fichier de données « %s » a échoué.
Ce n&apos;est pas une table d&apos;une base de données musicale : %s.</translation>
    </message>
    <message>
        <source>Operation create failed on Datafile &quot;%s&quot;.
Return value: %s.
%s</source>
        <translation>La création du fichier de données « %s » a échoué.
Code retourné : %s.
%s</translation>
    </message>
    <message>
        <source>Names are kept in their stored form only until it can be made.</source>
        <translation>Tant qu&apos;elle ne peut pas être créée, les noms ne sont gardés que sous leur forme enregistrée.</translation>
    </message>
    <message>
        <source>Scans remember no file until it can be made.</source>
        <translation>Tant qu&apos;elle ne peut pas être créée, les analyses ne retiennent aucun fichier.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: its file %s is missing.</source>
        <translation>L&apos;opération %s a échoué sur le fichier de données « %s » : son fichier %s est manquant.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;: %s.</source>
        <translation>L&apos;opération %s a échoué sur le fichier de données « %s » : %s.</translation>
    </message>
    <message>
        <source>Operation %s failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation>L&apos;opération %s a échoué sur le fichier de données « %s ».
Code retourné : %s.</translation>
    </message>
    <message>
        <source>Choose database main file</source>
        <translation>Choisir le fichier principal de la base de données</translation>
    </message>
    <message>
        <source>Database main files (maindb.db1)|maindb.db1|All Files (*.*)|*.*||</source>
        <translation>Fichiers principaux de base de données (maindb.db1)|maindb.db1|Tous les fichiers (*.*)|*.*||</translation>
    </message>
    <message>
        <source>There is nothing to redo.</source>
        <translation>Il n&apos;y a rien à rétablir.</translation>
    </message>
    <message>
        <source>There is nothing to undo.</source>
        <translation>Il n&apos;y a rien à annuler.</translation>
    </message>
    <message>
        <source>The undo history %s is damaged: nothing changed.</source>
        <translation>L&apos;historique d&apos;annulation %s est endommagé : rien n&apos;a changé.</translation>
    </message>
    <message>
        <source>The last change, the %s, cannot be undone, nor anything before it.</source>
        <translation>La dernière modification (%s) ne peut pas être annulée, ni rien de ce qui la précède.</translation>
    </message>
    <message>
        <source>The database must be open for writing, by this program alone.</source>
        <translation>La base de données doit être ouverte en écriture, par ce seul programme.</translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be redone.</source>
        <translation>Le catalogue a changé depuis l&apos;opération (%s) (par un autre programme, un compactage, une réindexation ou une récupération) : elle ne peut plus être rétablie.</translation>
    </message>
    <message>
        <source>The catalogue has changed since the %s (by another program, a pack, a reindex or a recovery): it can no longer be undone.</source>
        <translation>Le catalogue a changé depuis l&apos;opération (%s) (par un autre programme, un compactage, une réindexation ou une récupération) : elle ne peut plus être annulée.</translation>
    </message>
    <message>
        <source>Cannot write the journal %s: nothing changed.</source>
        <translation>Impossible d&apos;écrire le journal %s : rien n&apos;a changé.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the redo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation>La base de données n&apos;a pas pu être fermée proprement avant le rétablissement : rien n&apos;a changé. Récupérez la base de données (tracklore-cli recover).</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly before the undo: nothing changed. Recover the database (tracklore-cli recover).</source>
        <translation>La base de données n&apos;a pas pu être fermée proprement avant l&apos;annulation : rien n&apos;a changé. Récupérez la base de données (tracklore-cli recover).</translation>
    </message>
    <message>
        <source>The main file name &quot;%s&quot; is longer than the %d characters a database&apos;s main file name can have: rename its files, or choose a shorter name.</source>
        <translation>Le nom du fichier principal &quot;%s&quot; dépasse les %d caractères que peut avoir le nom du fichier principal d&apos;une base de données : renommez ses fichiers ou choisissez un nom plus court.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %s.
What it still held was not written, so it needs recovery: open it again and recover it when asked.</source>
        <translation>La base de données n&apos;a pas pu être fermée proprement : %s.
Ce qu&apos;elle contenait encore n&apos;a pas été écrit ; elle doit donc être récupérée : ouvrez-la de nouveau et récupérez-la quand on vous le demande.</translation>
    </message>
    <message>
        <source>The redo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation>Le rétablissement de l&apos;opération (%s) a échoué en cours de route%s. Récupérez la base de données (tracklore-cli recover) pour l&apos;annuler.</translation>
    </message>
    <message>
        <source>The undo of the %s failed part way%s. Recover the database (tracklore-cli recover) to take it back.</source>
        <translation>L&apos;annulation de l&apos;opération (%s) a échoué en cours de route%s. Récupérez la base de données (tracklore-cli recover) pour la défaire.</translation>
    </message>
    <message>
        <source>Redone: %s</source>
        <translation>Rétabli : %s</translation>
    </message>
    <message>
        <source>Undone: %s</source>
        <translation>Annulé : %s</translation>
    </message>
    <message>
        <source>*** not found ***</source>
        <translation>*** introuvable ***</translation>
    </message>
    <message>
        <source>The corrections could not be saved.
Return value: %s.
Recover the database, which verifies it again.</source>
        <translation>Les corrections n&apos;ont pas pu être enregistrées.
Code retourné : %s.
Récupérez la base de données, ce qui la vérifie à nouveau.</translation>
    </message>
    <message>
        <source>Correction failed on Datafile &quot;%s&quot;.
Return value: %s.</source>
        <translation>La correction du fichier de données « %s » a échoué.
Code retourné : %s.</translation>
    </message>
    <message>
        <source>The index of table &quot;%s&quot; does not match its records.
Reindex the database, then verify it again.</source>
        <translation>L&apos;index de la table « %s » ne correspond pas à ses enregistrements.
Réindexez la base de données, puis vérifiez-la à nouveau.</translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld does not refer to a valid %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation>Table %s :
Le code d&apos;album %ld/%d/%ld ne désigne aucun élément valide (%s).
Pour garder la base de données cohérente, il est recommandé
de supprimer cette entrée. Voulez-vous la supprimer ?</translation>
    </message>
    <message>
        <source>Table %s:
Title code %ld/%d/%ld (&quot;%s&quot;)
contains a reference to an unexisting %s.
To keep the database consistent, the recomended action
is to delete this entry. Do you want to delete it?</source>
        <translation>Table %s :
Le code d&apos;album %ld/%d/%ld (« %s »)
contient une référence à un élément inexistant (%s).
Pour garder la base de données cohérente, il est recommandé
de supprimer cette entrée. Voulez-vous la supprimer ?</translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Duplicate sequence number %d, which can be moved to position %d.
 Correct?
</source>
        <translation>Table %s, ligne %ld/%d/%ld :
%s « %s »,
%s « %s » :
Numéro de position %d en double, qui peut être déplacé à la position %d.
 Corriger ?
</translation>
    </message>
    <message>
        <source>Table %s, row %ld/%d/%ld:
%s &quot;%s&quot;,
%s &quot;%s&quot;:
Found sequence %d, but should be %d. Correct?
</source>
        <translation>Table %s, ligne %ld/%d/%ld :
%s « %s »,
%s « %s » :
Position %d trouvée, mais elle devrait être %d. Corriger ?
</translation>
    </message>
    <message>
        <source>Table %s:
Code of record %ld (&quot;%s&quot;)
duplicates an already existing one (&quot;%s&quot;).
It is not possible to correct it automatically.</source>
        <translation>Table %s :
Le code de l&apos;enregistrement %ld (« %s »)
répète un code déjà existant (« %s »).
Il n&apos;est pas possible de le corriger automatiquement.</translation>
    </message>
    <message>
        <source>Duplicate code</source>
        <translation>Code en double</translation>
    </message>
    <message>
        <source>Table %s:
In %s %ld (&quot;%s&quot;),
reference count is %ld and should be %ld. Correct?</source>
        <translation>Table %s :
Pour %s %ld (« %s »),
le compteur d&apos;utilisations vaut %ld et devrait valoir %ld. Corriger ?</translation>
    </message>
    <message>
        <source>Table %s:
In record %ld (&quot;%s&quot;),
auxattr is %ld and should be %ld. Correct?</source>
        <translation>Table %s :
Dans l&apos;enregistrement %ld (« %s »),
le premier artiste vaut %ld et devrait valoir %ld. Corriger ?</translation>
    </message>
    <message>
        <source>record</source>
        <translation>enregistrement</translation>
    </message>
    <message>
        <source>Table %s:
The full name &quot;%s&quot; of %s %ld:
%s.
To keep the database consistent, the recomended action
is to delete it. Do you want to delete it?</source>
        <translation>Table %s :
Le nom complet « %s » de %s %ld :
%s.
Pour garder la base de données cohérente, il est recommandé
de le supprimer. Voulez-vous le supprimer ?</translation>
    </message>
    <message>
        <source>Table %s:
Its index does not match its records (%s%s).
The correction is to reindex the database. Reindex it now?</source>
        <translation>Table %s :
Son index ne correspond pas à ses enregistrements (%s%s).
La correction consiste à réindexer la base de données. Réindexer maintenant ?</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>, and %d more</source>
        <translation>, et %d de plus</translation>
    </message>
    <message>
        <source>(none: the scan&apos;s file table could not be read)</source>
        <translation>(aucun : la table des fichiers de l&apos;analyse n&apos;a pas pu être lue)</translation>
    </message>
    <message>
        <source>(none: the tables could not be prepared)</source>
        <translation>(aucun : les tables n&apos;ont pas pu être préparées)</translation>
    </message>
    <message>
        <source>(none: the folder %s could not be remembered)</source>
        <translation>(aucun : le dossier %s n&apos;a pas pu être mémorisé)</translation>
    </message>
    <message>
        <source>(the albums that follow their files)</source>
        <translation>(les albums qui suivent leurs fichiers)</translation>
    </message>
    <message>
        <source>Operation create failed: the folder %s cannot be entered (%s); nothing was changed.</source>
        <translation>La création a échoué : impossible d&apos;entrer dans le dossier %s (%s) ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>Packing table %d of %d: %s</source>
        <translation>Compactage de la table %d sur %d : %s</translation>
    </message>
    <message>
        <source>Reindexing table %d of %d: %s</source>
        <translation>Réindexation de la table %d sur %d : %s</translation>
    </message>
    <message>
        <source>albums</source>
        <translation>albums</translation>
    </message>
    <message>
        <source>artists</source>
        <translation>artistes</translation>
    </message>
    <message>
        <source>songs</source>
        <translation>morceaux</translation>
    </message>
    <message>
        <source>album artists</source>
        <translation>artistes des albums</translation>
    </message>
    <message>
        <source>album songs</source>
        <translation>morceaux des albums</translation>
    </message>
    <message>
        <source>full names</source>
        <translation>noms complets</translation>
    </message>
    <message>
        <source>scanned files</source>
        <translation>fichiers analysés</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s</source>
        <translation>Vérification de la table %d sur %d : %s</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s (pass 1)</source>
        <translation>Vérification de la table %d sur %d : %s (passe 1)</translation>
    </message>
    <message>
        <source>Verifying table %d of %d: %s (pass 2)</source>
        <translation>Vérification de la table %d sur %d : %s (passe 2)</translation>
    </message>
    <message>
        <source>undo the unfinished %s in %s</source>
        <translation>annuler l&apos;opération inachevée (%s) dans %s</translation>
    </message>
    <message>
        <source>cannot %s: %s</source>
        <translation>impossible de %s : %s</translation>
    </message>
    <message>
        <source>cannot open %s to undo the unfinished %s: %s</source>
        <translation>impossible d&apos;ouvrir %s pour annuler l&apos;opération inachevée (%s) : %s</translation>
    </message>
    <message>
        <source>undid an unfinished %s (%d records put back)</source>
        <translation>opération inachevée (%s) annulée (%d enregistrements remis en place)</translation>
    </message>
    <message>
        <source>cannot open %s: %s</source>
        <translation>impossible d&apos;ouvrir %s : %s</translation>
    </message>
    <message>
        <source>%s is shorter than its header</source>
        <translation>%s est plus court que son en-tête</translation>
    </message>
    <message>
        <source>%s: deleted-record count %ld set to %ld</source>
        <translation>%s : nombre d&apos;enregistrements supprimés %ld ramené à %ld</translation>
    </message>
    <message>
        <source>correct the counters of %s</source>
        <translation>corriger les compteurs de %s</translation>
    </message>
    <message>
        <source>cannot drop the uncounted records past the end of %s: %s</source>
        <translation>impossible d&apos;écarter les enregistrements non comptés après la fin de %s : %s</translation>
    </message>
    <message>
        <source>%s: dropped an unfinished append past the last counted record</source>
        <translation>%s : un ajout inachevé après le dernier enregistrement compté a été écarté</translation>
    </message>
    <message>
        <source>cannot reindex %s: %s</source>
        <translation>impossible de réindexer %s : %s</translation>
    </message>
    <message>
        <source>reindexed %s</source>
        <translation>%s réindexé</translation>
    </message>
    <message>
        <source>reindexed %s (%s)</source>
        <translation>%s réindexé (%s)</translation>
    </message>
    <message>
        <source>verification could not open the database</source>
        <translation>la vérification n&apos;a pas pu ouvrir la base de données</translation>
    </message>
    <message>
        <source>set aside an unfinished %s of an earlier database in %s</source>
        <translation>opération inachevée (%s) d&apos;une base de données antérieure mise de côté dans %s</translation>
    </message>
    <message>
        <source>cannot set it aside: %s</source>
        <translation>impossible de la mettre de côté : %s</translation>
    </message>
    <message>
        <source>cannot mark the undone edit in %s: %s</source>
        <translation>impossible de marquer la modification annulée dans %s : %s</translation>
    </message>
    <message>
        <source>removed the temporary file %s</source>
        <translation>fichier temporaire %s supprimé</translation>
    </message>
    <message>
        <source>integrity check of %s: %s</source>
        <translation>contrôle d&apos;intégrité de %s : %s</translation>
    </message>
    <message>
        <source>cannot open the database</source>
        <translation>impossible d&apos;ouvrir la base de données</translation>
    </message>
    <message>
        <source>an interrupted change could not be undone: its journal %s is missing or damaged, and it had changed %s part way. Albums, artists or songs it was adding, removing, renaming or reordering may be lost or half changed.</source>
        <translation>une modification interrompue n&apos;a pas pu être annulée : son journal %s est absent ou endommagé, et elle avait modifié %s en partie. Les albums, artistes ou morceaux qu&apos;elle ajoutait, supprimait, renommait ou réordonnait peuvent être perdus ou à moitié modifiés.</translation>
    </message>
    <message>
        <source>%s: skipped: %s</source>
        <translation>%s : ignoré : %s</translation>
    </message>
    <message>
        <source>%s: a copy of %s (disc %d, track %d, &quot;%s&quot;): linked once</source>
        <translation>%s : une copie de %s (disque %d, piste %d, « %s ») : liée une seule fois</translation>
    </message>
    <message>
        <source>album %s would take its files&apos; name &quot;%s&quot;</source>
        <translation>l&apos;album %s prendrait le nom de ses fichiers « %s »</translation>
    </message>
    <message>
        <source>album %s takes its files&apos; name &quot;%s&quot;</source>
        <translation>l&apos;album %s prend le nom de ses fichiers « %s »</translation>
    </message>
    <message>
        <source>album %s keeps the name given in the catalogue; its files name it &quot;%s&quot;; tracklore-cli scan --prefer-files &quot;%s&quot; takes the files&apos; version</source>
        <translation>l&apos;album %s garde le nom donné dans le catalogue ; ses fichiers le nomment « %s » ; tracklore-cli scan --prefer-files &quot;%s&quot; reprend la version des fichiers</translation>
    </message>
    <message>
        <source>songs in another order</source>
        <translation>morceaux dans un autre ordre</translation>
    </message>
    <message>
        <source>artists in another order</source>
        <translation>artistes dans un autre ordre</translation>
    </message>
    <message>
        <source>are all gone</source>
        <translation>ont tous disparu</translation>
    </message>
    <message>
        <source>differ: %s</source>
        <translation>diffèrent : %s</translation>
    </message>
    <message>
        <source>songs only in the catalogue: </source>
        <translation>morceaux seulement dans le catalogue : </translation>
    </message>
    <message>
        <source>songs only in the files: </source>
        <translation>morceaux seulement dans les fichiers : </translation>
    </message>
    <message>
        <source>artists only in the catalogue: </source>
        <translation>artistes seulement dans le catalogue : </translation>
    </message>
    <message>
        <source>artists only in the files: </source>
        <translation>artistes seulement dans les fichiers : </translation>
    </message>
    <message>
        <source>album %s left alone: edited in the catalogue since it was scanned; its files %s; tracklore-cli scan --prefer-files &quot;%s&quot; takes the files&apos; version</source>
        <translation>album %s laissé tel quel : modifié dans le catalogue depuis son analyse ; ses fichiers %s ; tracklore-cli scan --prefer-files &quot;%s&quot; reprend la version des fichiers</translation>
    </message>
    <message>
        <source>album %s would be removed: none of its files is left</source>
        <translation>l&apos;album %s serait supprimé : aucun de ses fichiers ne reste</translation>
    </message>
    <message>
        <source>album %s removed: none of its files is left</source>
        <translation>album %s supprimé : aucun de ses fichiers ne reste</translation>
    </message>
    <message>
        <source>album %s would follow its files: %s</source>
        <translation>l&apos;album %s suivrait ses fichiers : %s</translation>
    </message>
    <message>
        <source>album %s follows its files: %s</source>
        <translation>l&apos;album %s suit ses fichiers : %s</translation>
    </message>
    <message>
        <source>songs removed: </source>
        <translation>morceaux supprimés : </translation>
    </message>
    <message>
        <source>songs added: </source>
        <translation>morceaux ajoutés : </translation>
    </message>
    <message>
        <source>artists removed: </source>
        <translation>artistes supprimés : </translation>
    </message>
    <message>
        <source>artists added: </source>
        <translation>artistes ajoutés : </translation>
    </message>
    <message>
        <source>transliterated</source>
        <translation>translittéré</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>tronqué</translation>
    </message>
    <message>
        <source>a stand-in</source>
        <translation>un nom de remplacement</translation>
    </message>
    <message>
        <source>mended</source>
        <translation>réparé</translation>
    </message>
    <message>
        <source>%s name &quot;%s&quot; stored as &quot;%s&quot; (%s), used in </source>
        <translation>Nom (%s) « %s » enregistré comme « %s » (%s), utilisé dans </translation>
    </message>
    <message>
        <source>%s: album &quot;%s&quot; left alone: the catalogue&apos;s differs: %s</source>
        <translation>%s : album « %s » laissé tel quel : celui du catalogue diffère : %s</translation>
    </message>
    <message>
        <source>%s/: missing or holds no audio file: nothing below it was changed</source>
        <translation>%s/ : absent ou sans fichier audio : rien n&apos;a été modifié en dessous</translation>
    </message>
    <message>
        <source>The last change, the %s, cannot be undone (it rewrote more records than the undo history keeps), nor anything before it.</source>
        <translation>La dernière modification (%s) ne peut pas être annulée (elle a réécrit plus d&apos;enregistrements que l&apos;historique d&apos;annulation n&apos;en garde), ni rien de ce qui la précède.</translation>
    </message>
    <message>
        <source>Cannot keep the records the %s added aside (beside %s): nothing changed.</source>
        <translation>Impossible de mettre de côté les enregistrements ajoutés par l&apos;opération (%s) (à côté de %s) : rien n&apos;a changé.</translation>
    </message>
    <message>
        <source>The records the %s added, kept aside beside %s, are missing or damaged: it can no longer be redone.</source>
        <translation>Les enregistrements ajoutés par l&apos;opération (%s), mis de côté à côté de %s, sont absents ou endommagés : elle ne peut plus être rétablie.</translation>
    </message>
    <message>
        <source>cannot open %s</source>
        <translation>impossible d&apos;ouvrir %s</translation>
    </message>
    <message>
        <source>%s is missing or damaged</source>
        <translation>%s est absent ou endommagé</translation>
    </message>
    <message>
        <source>cannot write %s</source>
        <translation>impossible d&apos;écrire %s</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Fatal error (aborting)</source>
        <translation>Erreur fatale (abandon)</translation>
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
        <translation>La page d&apos;aide est introuvable.
C&apos;est le fichier index.htm, installé sous share/tracklore.</translation>
    </message>
    <message>
        <source>The help page could not be shown.
It is the file %1</source>
        <translation>La page d&apos;aide n&apos;a pas pu être affichée.
C&apos;est le fichier %1</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
</context>
<context>
    <name>Kind</name>
    <message>
        <source>album</source>
        <translation>album</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>albums</source>
        <translation>albums</translation>
    </message>
    <message>
        <source>Albums</source>
        <translation>Albums</translation>
    </message>
    <message>
        <source>artist</source>
        <translation>artiste</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artiste</translation>
    </message>
    <message>
        <source>artists</source>
        <translation>artistes</translation>
    </message>
    <message>
        <source>Artists</source>
        <translation>Artistes</translation>
    </message>
    <message>
        <source>song</source>
        <translation>morceau</translation>
    </message>
    <message>
        <source>Song</source>
        <translation>Morceau</translation>
    </message>
    <message>
        <source>songs</source>
        <translation>morceaux</translation>
    </message>
    <message>
        <source>Songs</source>
        <translation>Morceaux</translation>
    </message>
</context>
<context>
    <name>Merge</name>
    <message>
        <source>&quot;%1&quot; (%2)</source>
        <translation>« %1 » (%2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;</source>
        <translation>« %1 »</translation>
    </message>
    <message>
        <source>The artists and songs the album kept lacks are appended to it, and the album merged is deleted.</source>
        <translation>Les artistes et morceaux qui manquent à l&apos;album conservé lui sont ajoutés, et l&apos;album fusionné est supprimé.</translation>
    </message>
    <message>
        <source>The albums that use the %1 merged then use the one kept, and the one merged is deleted.</source>
        <translation>Les albums qui utilisent l&apos;élément fusionné (%1) utilisent ensuite celui qui est conservé, et l&apos;élément fusionné est supprimé.</translation>
    </message>
    <message>
        <source>Merge failed; %1.</source>
        <translation>La fusion a échoué ; %1.</translation>
    </message>
    <message>
        <source>Edit &gt; Undo takes a merge back.</source>
        <translation>Édition &gt; Annuler défait une fusion.</translation>
    </message>
    <message>
        <source>Merge %1 %2 into %3?</source>
        <translation>Fusionner %1 %2 dans %3 ?</translation>
    </message>
    <message>
        <source>Confirm merge</source>
        <translation>Confirmer la fusion</translation>
    </message>
    <message>
        <source>The %1 %2 exists already.
Merge this %1 into it instead of making a second of that name?</source>
        <translation>%1 %2 existe déjà.
Fusionner cet élément (%1) avec lui au lieu d&apos;en créer un second du même nom ?</translation>
    </message>
    <message>
        <source>Merge</source>
        <translation>Fusionner</translation>
    </message>
    <message>
        <source>Another album is named %1.
Merge this album into it?</source>
        <translation>Un autre album s&apos;appelle %1.
Fusionner cet album avec lui ?</translation>
    </message>
    <message>
        <source>No renames this album, keeping two albums of that name.</source>
        <translation>Non renomme cet album, en gardant deux albums de ce nom.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (used %2 time)</source>
        <translation>« %1 » (utilisé %2 fois)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (used %2 times)</source>
        <translation>« %1 » (utilisé %2 fois)</translation>
    </message>
</context>
<context>
    <name>Name</name>
    <message>
        <source>Update failed; %1.</source>
        <translation>La mise à jour a échoué ; %1.</translation>
    </message>
    <message>
        <source>Record creation failed; %1.</source>
        <translation>La création de l&apos;élément a échoué ; %1.</translation>
    </message>
    <message>
        <source>A name cannot be empty or consist of blanks only.
Nothing has been changed.</source>
        <translation>Un nom ne peut pas être vide ni composé uniquement d&apos;espaces.
Rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>Invalid name</source>
        <translation>Nom invalide</translation>
    </message>
    <message>
        <source>The name has %1 characters, but %2 names hold at most %3.
Nothing has been changed.</source>
        <translation>Le nom compte %1 caractères, mais les noms (%2) en contiennent au plus %3.
Rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>Changes have been made to current record. Do you want to save them?</source>
        <translation>L&apos;élément actuel a été modifié. Voulez-vous enregistrer les modifications ?</translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation>Enregistrer les modifications ?</translation>
    </message>
    <message>
        <source>Record update failed; %1.</source>
        <translation>La mise à jour de l&apos;élément a échoué ; %1.</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>There is no database in the folder
%1.</source>
        <translation>Il n&apos;y a pas de base de données dans le dossier
%1.</translation>
    </message>
    <message>
        <source>The folder
%1
does not exist.</source>
        <translation>Le dossier
%1
n&apos;existe pas.</translation>
    </message>
    <message>
        <source>Do you want to create a new database there, or choose another folder?</source>
        <translation>Voulez-vous y créer une nouvelle base de données, ou choisir un autre dossier ?</translation>
    </message>
    <message>
        <source>Do you want to create a new database in
%1
or choose another folder?</source>
        <translation>Voulez-vous créer une nouvelle base de données dans
%1
ou choisir un autre dossier ?</translation>
    </message>
    <message>
        <source>No database</source>
        <translation>Aucune base de données</translation>
    </message>
    <message>
        <source>&amp;Create Database</source>
        <translation>&amp;Créer la base de données</translation>
    </message>
    <message>
        <source>C&amp;hoose Folder...</source>
        <translation>C&amp;hoisir un dossier...</translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation>&amp;Pas maintenant</translation>
    </message>
    <message>
        <source>The database in the folder
%1
is in use by another program.
Close that program, then open the database again.</source>
        <translation>La base de données du dossier
%1
est utilisée par un autre programme.
Fermez ce programme, puis rouvrez la base de données.</translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to change its files.
Read-only mode may still open it.</source>
        <translation>La base de données du dossier
%1
ne peut pas être ouverte : vous n&apos;avez pas le droit de modifier ses fichiers.
Le mode lecture seule peut encore l&apos;ouvrir.</translation>
    </message>
    <message>
        <source>The database in the folder
%1
cannot be opened: you are not allowed to read its files.</source>
        <translation>La base de données du dossier
%1
ne peut pas être ouverte : vous n&apos;avez pas le droit de lire ses fichiers.</translation>
    </message>
    <message>
        <source>Database in use</source>
        <translation>Base de données occupée</translation>
    </message>
    <message>
        <source>Database not accessible</source>
        <translation>Base de données inaccessible</translation>
    </message>
    <message>
        <source>it is in use by another program. Close that program, then switch again.</source>
        <translation>elle est utilisée par un autre programme. Fermez ce programme, puis réessayez.</translation>
    </message>
    <message>
        <source>you are not allowed to change its files.</source>
        <translation>vous n&apos;avez pas le droit de modifier ses fichiers.</translation>
    </message>
    <message>
        <source>Database stays read-only</source>
        <translation>La base de données reste en lecture seule</translation>
    </message>
    <message>
        <source>The database cannot be opened for changes: %1</source>
        <translation>La base de données ne peut pas être ouverte en écriture : %1</translation>
    </message>
    <message>
        <source>The last change to this database was interrupted before it was finished.</source>
        <translation>La dernière modification de cette base de données a été interrompue avant d&apos;être terminée.</translation>
    </message>
    <message>
        <source>The index files of this database are out of date or damaged (after an interrupted change, or a pack without reindex).</source>
        <translation>Les fichiers d&apos;index de cette base de données sont périmés ou endommagés (après une modification interrompue, ou un compactage sans réindexation).</translation>
    </message>
    <message>
        <source>
Recover it now?

Recovery undoes an unfinished change, rebuilds the index files and verifies the database.</source>
        <translation>
La récupérer maintenant ?

La récupération annule une modification inachevée, reconstruit les fichiers d&apos;index et vérifie la base de données.</translation>
    </message>
    <message>
        <source>Recover database</source>
        <translation>Récupérer la base de données</translation>
    </message>
    <message>
        <source>The database was recovered.</source>
        <translation>La base de données a été récupérée.</translation>
    </message>
    <message>
        <source>The database is whole again, but an interrupted change could not be undone.</source>
        <translation>La base de données est de nouveau intègre, mais une modification interrompue n&apos;a pas pu être annulée.</translation>
    </message>
    <message>
        <source>Recovery failed: the database could not be made whole.</source>
        <translation>La récupération a échoué : la base de données n&apos;a pas pu être rendue intègre.</translation>
    </message>
    <message>
        <source>Recovery</source>
        <translation>Récupération</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: make room on the disk, then open the database again and recover it when asked.</source>
        <translation>La base de données n&apos;a pas pu être fermée proprement : %1.
Ce qu&apos;elle contenait encore n&apos;a pas été écrit ; elle doit donc être récupérée : libérez de la place sur le disque, puis rouvrez la base de données et récupérez-la quand cela vous est proposé.</translation>
    </message>
    <message>
        <source>The database could not be closed cleanly: %1.
What it still held was not written, so it needs recovery: open the database again and recover it when asked.</source>
        <translation>La base de données n&apos;a pas pu être fermée proprement : %1.
Ce qu&apos;elle contenait encore n&apos;a pas été écrit ; elle doit donc être récupérée : rouvrez la base de données et récupérez-la quand cela vous est proposé.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The database is open read-only. To change it, uncheck Database &gt; Read-only mode in the main window.</source>
        <translation>La base de données est ouverte en lecture seule. Pour la modifier, décochez Base de données &gt; Mode lecture seule dans la fenêtre principale.</translation>
    </message>
    <message>
        <source>The number after each artist is how often albums use it: &quot;(3)&quot; is used 3 times.</source>
        <translation>Le nombre après chaque artiste indique combien de fois des albums l&apos;utilisent : « (3) » est utilisé 3 fois.</translation>
    </message>
    <message>
        <source>The number after each song is how often albums use it: &quot;(3)&quot; is used 3 times, twice on one album counting twice.</source>
        <translation>Le nombre après chaque morceau indique combien de fois des albums l&apos;utilisent : « (3) » est utilisé 3 fois, deux fois sur un même album comptant double.</translation>
    </message>
    <message>
        <source>Scan music folder</source>
        <translation>Analyser un dossier de musique</translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>No audio file was found in %1 (hidden files and folders are read when asked): nothing was scanned.</source>
        <translation>Aucun fichier audio n&apos;a été trouvé dans %1 (les fichiers et dossiers cachés ne sont lus que sur demande) : rien n&apos;a été analysé.</translation>
    </message>
    <message>
        <source>No audio file was found in %1: nothing was scanned.</source>
        <translation>Aucun fichier audio n&apos;a été trouvé dans %1 : rien n&apos;a été analysé.</translation>
    </message>
    <message>
        <source>The scan stopped at album %1: %2.
The albums of its finished batches are kept; recovery takes back the unfinished one, and a second scan completes the rest.</source>
        <translation>L&apos;analyse s&apos;est arrêtée à l&apos;album %1 : %2.
Les albums des lots terminés sont conservés ; la récupération annule le lot inachevé, et une seconde analyse complète le reste.</translation>
    </message>
    <message>
        <source>No music folder was scanned into this database yet.
Scan music folder... adds one.</source>
        <translation>Aucun dossier de musique n&apos;a encore été analysé dans cette base de données.
Analyser un dossier de musique... en ajoute un.</translation>
    </message>
    <message>
        <source>Rescan music folders</source>
        <translation>Réanalyser les dossiers de musique</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The catalogue of a private music collection.</source>
        <translation>Le catalogue d&apos;une collection de musique personnelle.</translation>
    </message>
    <message>
        <source>The folder of the database to open.</source>
        <translation>Le dossier de la base de données à ouvrir.</translation>
    </message>
    <message>
        <source>[folder]</source>
        <translation>[dossier]</translation>
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
        <translation>À propos de Tracklore</translation>
    </message>
    <message>
        <source>Tracklore</source>
        <translation>Tracklore</translation>
    </message>
    <message>
        <source>Your music collection&apos;s database</source>
        <translation>La base de données de votre collection de musique</translation>
    </message>
    <message>
        <source>Powered by Quillstore</source>
        <translation>Propulsé par Quillstore</translation>
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
        <translation>Détail de l&apos;album</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&lt; Pre&amp;vious</source>
        <translation>&lt; Pré&amp;cédent</translation>
    </message>
    <message>
        <source>Nex&amp;t &gt;</source>
        <translation>Sui&amp;vant &gt;</translation>
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
        <translation>&amp;Insérer...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>Re&amp;name...</source>
        <translation>Re&amp;nommer...</translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation>Réf&amp;érences</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Mon&amp;ter</translation>
    </message>
    <message>
        <source>D&amp;own</source>
        <translation>&amp;Descendre</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Record name</source>
        <translation>Nom de l&apos;élément</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Afficher en dessous :</translation>
    </message>
    <message>
        <source>Insertion failed; %1.</source>
        <translation>L&apos;insertion a échoué ; %1.</translation>
    </message>
    <message>
        <source>Confirm delete</source>
        <translation>Confirmer la suppression</translation>
    </message>
    <message>
        <source>Remove failed; %1.</source>
        <translation>Le retrait a échoué ; %1.</translation>
    </message>
    <message>
        <source>Move-up failed; %1.</source>
        <translation>Le déplacement vers le haut a échoué ; %1.</translation>
    </message>
    <message>
        <source>Move-down failed; %1.</source>
        <translation>Le déplacement vers le bas a échoué ; %1.</translation>
    </message>
    <message>
        <source>Album name</source>
        <translation>Nom de l&apos;album</translation>
    </message>
    <message>
        <source>The album&apos;s name; Modify changes it</source>
        <translation>Le nom de l&apos;album ; Modifier le change</translation>
    </message>
    <message>
        <source>Album list shown</source>
        <translation>Liste de l&apos;album affichée</translation>
    </message>
    <message>
        <source>Whether the list below shows the album&apos;s artists or its songs</source>
        <translation>Si la liste ci-dessous montre les artistes ou les morceaux de l&apos;album</translation>
    </message>
    <message>
        <source>Album %1</source>
        <translation>Album : %1</translation>
    </message>
    <message>
        <source>In the album&apos;s order; Insert adds, Remove takes away</source>
        <translation>Dans l&apos;ordre de l&apos;album ; Insérer ajoute, Retirer enlève</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %1 &quot;%2&quot; from this %3?</source>
        <translation>Voulez-vous vraiment retirer « %2 » (%1) de cet élément (%3) ?</translation>
    </message>
</context>
<context>
    <name>tracklore::CDuplicatesDlg</name>
    <message>
        <source>Find duplicates</source>
        <translation>Trouver les doublons</translation>
    </message>
    <message>
        <source>&amp;Merge into selected</source>
        <translation>Fu&amp;sionner dans la sélection</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Afficher en dessous :</translation>
    </message>
    <message>
        <source>No %1 with names alike.</source>
        <translation>Aucun élément (%1) aux noms semblables.</translation>
    </message>
    <message>
        <source>%1 %2 of %3 with names alike; select the one to keep.</source>
        <translation>%1 %2 d&apos;éléments aux noms semblables (%3) ; sélectionnez celui à conserver.</translation>
    </message>
    <message>
        <source>group</source>
        <translation>groupe</translation>
    </message>
    <message>
        <source>groups</source>
        <translation>groupes</translation>
    </message>
    <message>
        <source>%1  [%2, %3 songs]   #%4</source>
        <translation>%1  [%2, %3 morceaux]   #%4</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Whether artists, songs or albums are compared</source>
        <translation>Si ce sont les artistes, les morceaux ou les albums qui sont comparés</translation>
    </message>
    <message>
        <source>Likely duplicates</source>
        <translation>Doublons probables</translation>
    </message>
    <message>
        <source>Entries whose names differ only in case, accents, punctuation or blanks, grouped, each with its uses</source>
        <translation>Éléments dont les noms ne diffèrent que par la casse, les accents, la ponctuation ou les espaces, groupés, chacun avec ses utilisations</translation>
    </message>
</context>
<context>
    <name>tracklore::CFoundDlg</name>
    <message>
        <source>Items found</source>
        <translation>Éléments trouvés</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Afficher</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Albums containing %1 &quot;%2&quot; [%3]</source>
        <translation>Albums contenant « %2 » (%1) [%3]</translation>
    </message>
    <message>
        <source>Albums found:</source>
        <translation>Albums trouvés :</translation>
    </message>
    <message>
        <source>(%1 song)</source>
        <translation>(%1 morceau)</translation>
    </message>
    <message>
        <source>(%1 songs)</source>
        <translation>(%1 morceaux)</translation>
    </message>
    <message>
        <source>Albums found</source>
        <translation>Albums trouvés</translation>
    </message>
    <message>
        <source>The albums that use the entry, by name</source>
        <translation>Les albums qui utilisent l&apos;élément, par nom</translation>
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
        <translation>La touche &amp;Entrée sélectionne &amp;&amp; ajoute après la création d&apos;un élément</translation>
    </message>
    <message>
        <source>New item</source>
        <translation>Nouvel élément</translation>
    </message>
    <message>
        <source>&amp;View/Modify</source>
        <translation>Affic&amp;her/Modifier</translation>
    </message>
    <message>
        <source>&amp;X-ref</source>
        <translation>Réf&amp;érences</translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;append</source>
        <translation>Sélectionner &amp;&amp; &amp;ajouter</translation>
    </message>
    <message>
        <source>Select &amp;&amp; &amp;insert</source>
        <translation>Sélectionner &amp;&amp; &amp;insérer</translation>
    </message>
    <message>
        <source>Create &amp;New</source>
        <translation>Créer un &amp;nouveau</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Merge...</source>
        <translation>Fusi&amp;onner...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Show below:</source>
        <translation>Afficher en dessous :</translation>
    </message>
    <message>
        <source>Type search text:</source>
        <translation>Tapez le texte à chercher :</translation>
    </message>
    <message>
        <source>Names hold at most %1 characters.</source>
        <translation>Les noms contiennent au plus %1 caractères.</translation>
    </message>
    <message>
        <source>Pickup %1</source>
        <translation>Choisir : %1</translation>
    </message>
    <message>
        <source>%1 available in database [%2]</source>
        <translation>%1 dans la base de données [%2]</translation>
    </message>
    <message>
        <source>Cannot create an empty %1; type its name before inserting.</source>
        <translation>Impossible de créer un élément vide (%1) ; tapez son nom avant de l&apos;insérer.</translation>
    </message>
    <message>
        <source>Nothing to do</source>
        <translation>Rien à faire</translation>
    </message>
    <message>
        <source>Do you want to create a new %1 &quot;%2&quot;?</source>
        <translation>Voulez-vous créer « %2 » (%1) ?</translation>
    </message>
    <message>
        <source>Confirm insert</source>
        <translation>Confirmer la création</translation>
    </message>
    <message>
        <source>An album named &quot;%1&quot; exists already; it is selected now.
Do you want to create a second album of that name?</source>
        <translation>Un album nommé « %1 » existe déjà ; il est maintenant sélectionné.
Voulez-vous créer un second album de ce nom ?</translation>
    </message>
    <message>
        <source>Cannot delete</source>
        <translation>Suppression impossible</translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1 &quot;%2&quot;?</source>
        <translation>Voulez-vous vraiment supprimer « %2 » (%1) ?</translation>
    </message>
    <message>
        <source>Confirm deletion</source>
        <translation>Confirmer la suppression</translation>
    </message>
    <message>
        <source>Attention: album &quot;%1&quot; is not empty.
Are you really sure you want to delete the album and all its contents?</source>
        <translation>Attention : l&apos;album « %1 » n&apos;est pas vide.
Voulez-vous vraiment supprimer l&apos;album et tout son contenu ?</translation>
    </message>
    <message>
        <source>Not empty</source>
        <translation>Non vide</translation>
    </message>
    <message>
        <source>Delete failed; %1.</source>
        <translation>La suppression a échoué ; %1.</translation>
    </message>
    <message>
        <source>&amp;Merge into</source>
        <translation>Fusi&amp;onner dans</translation>
    </message>
    <message>
        <source>Merging &quot;%1&quot;: select the %2 to keep and press Merge into.</source>
        <translation>Fusion de « %1 » : sélectionnez l&apos;élément à conserver (%2) et appuyez sur Fusionner dans.</translation>
    </message>
    <message numerus="yes">
        <source>This %1 &quot;%2&quot; is referenced by %n album(s). It cannot be deleted.</source>
        <translation>
            <numerusform>« %2 » (%1) est utilisé par %n album. Il ne peut pas être supprimé.</numerusform>
            <numerusform>« %2 » (%1) est utilisé par %n albums. Il ne peut pas être supprimé.</numerusform>
        </translation>
    </message>
    <message>
        <source>View</source>
        <translation>Vue</translation>
    </message>
    <message>
        <source>Whether the list shows albums, artists or songs</source>
        <translation>Si la liste montre les albums, les artistes ou les morceaux</translation>
    </message>
    <message>
        <source>Type the start of a name to find it; Enter opens the selected entry</source>
        <translation>Tapez le début d&apos;un nom pour le trouver ; Entrée ouvre l&apos;élément sélectionné</translation>
    </message>
</context>
<context>
    <name>tracklore::CNameDlg</name>
    <message>
        <source>Edit %1 name:</source>
        <translation>Modifier le nom (%1) :</translation>
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
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Confirm rename</source>
        <translation>Confirmer le renommage</translation>
    </message>
    <message>
        <source>The new name; OK renames the entry</source>
        <translation>Le nouveau nom ; OK renomme l&apos;élément</translation>
    </message>
    <message numerus="yes">
        <source>This %1 has %n album(s) referring to it. Are you sure you want to rename it?</source>
        <translation>
            <numerusform>Cet élément (%1) est utilisé par %n album. Voulez-vous vraiment le renommer ?</numerusform>
            <numerusform>Cet élément (%1) est utilisé par %n albums. Voulez-vous vraiment le renommer ?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tracklore::CProgressWnd</name>
    <message>
        <source>Please wait....</source>
        <translation>Veuillez patienter....</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanFolderDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation>Analyser un dossier de musique</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>Read &amp;hidden files and folders (names beginning with a dot)</source>
        <translation>Lire les fichiers et dossiers &amp;cachés (noms commençant par un point)</translation>
    </message>
    <message>
        <source>&amp;Scan</source>
        <translation>&amp;Analyser</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Dossier :</translation>
    </message>
    <message>
        <source>The folder whose audio files are catalogued</source>
        <translation>Le dossier dont les fichiers audio sont catalogués</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanProgressDlg</name>
    <message>
        <source>Scanning music folder</source>
        <translation>Analyse du dossier de musique</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stopping: the albums done so far are kept...</source>
        <translation>Arrêt : les albums déjà traités sont conservés...</translation>
    </message>
    <message>
        <source>%1 of %2 file read</source>
        <translation>%1 fichier lu sur %2</translation>
    </message>
    <message>
        <source>%1 of %2 files read</source>
        <translation>%1 fichiers lus sur %2</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanReportDlg</name>
    <message>
        <source>Scan report</source>
        <translation>Rapport d&apos;analyse</translation>
    </message>
    <message>
        <source>What the scan did with each file</source>
        <translation>Ce que l&apos;analyse a fait de chaque fichier</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Enregistrer...</translation>
    </message>
    <message>
        <source>Save scan report</source>
        <translation>Enregistrer le rapport d&apos;analyse</translation>
    </message>
    <message>
        <source>Text files (*.txt)|*.txt|All files (*.*)|*.*||</source>
        <translation>Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*||</translation>
    </message>
    <message>
        <source>The report could not be saved to %1: %2.</source>
        <translation>Le rapport n&apos;a pas pu être enregistré dans %1 : %2.</translation>
    </message>
</context>
<context>
    <name>tracklore::CScanSummaryDlg</name>
    <message>
        <source>Scan music folder</source>
        <translation>Analyser un dossier de musique</translation>
    </message>
    <message>
        <source>Show report</source>
        <translation>Afficher le rapport</translation>
    </message>
    <message>
        <source>Albums left alone, as edited in the catalogue:</source>
        <translation>Albums laissés tels quels, comme modifiés dans le catalogue :</translation>
    </message>
    <message>
        <source>Take the &amp;files&apos; version</source>
        <translation>Reprendre la version des &amp;fichiers</translation>
    </message>
    <message>
        <source>Albums left alone</source>
        <translation>Albums laissés tels quels</translation>
    </message>
    <message>
        <source>Albums edited in the catalogue that the scan did not change</source>
        <translation>Albums modifiés dans le catalogue que l&apos;analyse n&apos;a pas changés</translation>
    </message>
</context>
<context>
    <name>tracklore::CSearchDlg</name>
    <message>
        <source>Search</source>
        <translation>Recherche</translation>
    </message>
    <message>
        <source>Words of a name</source>
        <translation>Mots d&apos;un nom</translation>
    </message>
    <message>
        <source>Finds every album, artist and song whose name has each word at the start of one of its words, whatever the case, accents or script</source>
        <translation>Trouve chaque album, artiste et morceau dont le nom contient chaque mot au début de l&apos;un de ses mots, quels que soient la casse, les accents ou l&apos;écriture</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Chercher</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Search for:</source>
        <translation>&amp;Rechercher :</translation>
    </message>
    <message>
        <source>Type a word with a letter or a digit.</source>
        <translation>Tapez un mot contenant une lettre ou un chiffre.</translation>
    </message>
    <message>
        <source>Nothing found.</source>
        <translation>Rien trouvé.</translation>
    </message>
    <message>
        <source>%1 found.</source>
        <translation>%1 trouvé(s).</translation>
    </message>
    <message>
        <source>&amp;X-Ref</source>
        <translation>Réf&amp;érences</translation>
    </message>
    <message>
        <source>%1 found</source>
        <translation>%1 trouvés</translation>
    </message>
    <message>
        <source>Enter opens the selected entry</source>
        <translation>Entrée ouvre l&apos;élément sélectionné</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Résultats</translation>
    </message>
    <message>
        <source>What was found, one page per kind</source>
        <translation>Ce qui a été trouvé, une page par type</translation>
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
        <translation>&amp;Base de données</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Édition</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;Other</source>
        <translation>&amp;Autre</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>Open in different &amp;directory...</source>
        <translation>Ouvrir dans un autre &amp;dossier...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Pack</source>
        <translation>&amp;Compacter</translation>
    </message>
    <message>
        <source>&amp;Reindex</source>
        <translation>&amp;Réindexer</translation>
    </message>
    <message>
        <source>Create &amp;new...</source>
        <translation>Créer une &amp;nouvelle...</translation>
    </message>
    <message>
        <source>&amp;Verify &amp;&amp; repair</source>
        <translation>&amp;Vérifier &amp;&amp; réparer</translation>
    </message>
    <message>
        <source>&amp;Scan music folder...</source>
        <translation>Anal&amp;yser un dossier de musique...</translation>
    </message>
    <message>
        <source>R&amp;escan music folders</source>
        <translation>R&amp;éanalyser les dossiers de musique</translation>
    </message>
    <message>
        <source>Rescan music folders at s&amp;tart</source>
        <translation>Réanalyser les dossiers de musique au dé&amp;marrage</translation>
    </message>
    <message>
        <source>Read-&amp;only mode</source>
        <translation>Mode &amp;lecture seule</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>Find &amp;duplicates...</source>
        <translation>Trouver les &amp;doublons...</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>&amp;Search...</source>
        <translation>&amp;Rechercher...</translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>&amp;Statistiques...</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Browse the database</source>
        <translation>Parcourir la base de données</translation>
    </message>
    <message>
        <source>Use &amp;read-only mode</source>
        <translation>Utiliser le mode &amp;lecture seule</translation>
    </message>
    <message>
        <source>Database closed</source>
        <translation>Base de données fermée</translation>
    </message>
    <message>
        <source>Current database directory</source>
        <translation>Dossier de la base de données actuelle</translation>
    </message>
    <message>
        <source>Database open</source>
        <translation>Base de données ouverte</translation>
    </message>
    <message>
        <source>Tracklore (read-only)</source>
        <translation>Tracklore (lecture seule)</translation>
    </message>
    <message>
        <source>The database does not open.</source>
        <translation>La base de données ne s&apos;ouvre pas.</translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation>La base de données est ouverte en lecture seule.</translation>
    </message>
    <message>
        <source>The database is open for changes.</source>
        <translation>La base de données est ouverte en écriture.</translation>
    </message>
    <message>
        <source>Recovery complete.</source>
        <translation>Récupération terminée.</translation>
    </message>
    <message>
        <source>Recovery complete, but an interrupted change was lost.</source>
        <translation>Récupération terminée, mais une modification interrompue a été perdue.</translation>
    </message>
    <message>
        <source>Recovery failed.</source>
        <translation>La récupération a échoué.</translation>
    </message>
    <message>
        <source>Recovery failed: the database does not open.</source>
        <translation>La récupération a échoué : la base de données ne s&apos;ouvre pas.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>The database does not open again.</source>
        <translation>La base de données ne se rouvre pas.</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Pack failed.</source>
        <translation>Le compactage a échoué.</translation>
    </message>
    <message>
        <source>Pack complete: the database needs a reindex.</source>
        <translation>Compactage terminé : la base de données doit être réindexée.</translation>
    </message>
    <message>
        <source>Pack succeeded.
Before you can use this database, you need to reindex it.
Do you want to reindex the database?</source>
        <translation>Compactage réussi.
Avant de pouvoir utiliser cette base de données, vous devez la réindexer.
Voulez-vous réindexer la base de données ?</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Succès</translation>
    </message>
    <message>
        <source>Reindex failed.</source>
        <translation>La réindexation a échoué.</translation>
    </message>
    <message>
        <source>Reindex complete.</source>
        <translation>Réindexation terminée.</translation>
    </message>
    <message>
        <source>Reindex succeeded.
Would you like to open the database?</source>
        <translation>Réindexation réussie.
Voulez-vous ouvrir la base de données ?</translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation>La vérification a échoué.</translation>
    </message>
    <message>
        <source>Verification complete: no problems found.</source>
        <translation>Vérification terminée : aucun problème trouvé.</translation>
    </message>
    <message>
        <source>Verification complete.</source>
        <translation>Vérification terminée.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Do you really want to exit the program?</source>
        <translation>Voulez-vous vraiment quitter le programme ?</translation>
    </message>
    <message>
        <source>Confirm exit</source>
        <translation>Confirmer la fermeture</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 problème</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 problèmes</translation>
    </message>
    <message>
        <source>Verification complete: %1 corrected.</source>
        <translation>Vérification terminée : %1 corrigé(s).</translation>
    </message>
    <message>
        <source>Verification complete: %1 found, %2 corrected.</source>
        <translation>Vérification terminée : %1 trouvé(s), %2 corrigé(s).</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Parcourir</translation>
    </message>
    <message>
        <source>Browse the database&apos;s albums, artists and songs</source>
        <translation>Parcourir les albums, artistes et morceaux de la base de données</translation>
    </message>
    <message>
        <source>The folder of the open database</source>
        <translation>Le dossier de la base de données ouverte</translation>
    </message>
    <message>
        <source>Choose the folder of the database</source>
        <translation>Choisir le dossier de la base de données</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened.</source>
        <translation>Le dossier %1 ne peut pas être ouvert.</translation>
    </message>
    <message>
        <source>Choose the folder for the new database</source>
        <translation>Choisir le dossier de la nouvelle base de données</translation>
    </message>
</context>
<context>
    <name>tracklore::CStatsDlg</name>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
    </message>
    <message>
        <source>&amp;Delete unused</source>
        <translation>&amp;Supprimer les inutilisés</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>The statistics failed; returned %1.</source>
        <translation>Les statistiques ont échoué ; code retourné %1.</translation>
    </message>
    <message>
        <source>The database is open read-only.</source>
        <translation>La base de données est ouverte en lecture seule.</translation>
    </message>
    <message>
        <source>Deletes the artists and songs that no album uses, as one edit. Edit &gt; Undo takes it back.</source>
        <translation>Supprime les artistes et morceaux qu&apos;aucun album n&apos;utilise, en une seule modification. Édition &gt; Annuler la défait.</translation>
    </message>
    <message>
        <source>Delete %1 artists and %2 songs that no album uses?
Edit &gt; Undo takes it back.</source>
        <translation>Supprimer %1 artistes et %2 morceaux qu&apos;aucun album n&apos;utilise ?
Édition &gt; Annuler la défait.</translation>
    </message>
    <message>
        <source>Confirm purge</source>
        <translation>Confirmer la purge</translation>
    </message>
    <message>
        <source>Purge failed; returned %1.</source>
        <translation>La purge a échoué ; code retourné %1.</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Counts of the catalogue&apos;s entries and links</source>
        <translation>Nombre d&apos;éléments et de liens du catalogue</translation>
    </message>
</context>
</TS>
