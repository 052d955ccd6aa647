<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AlertTray</name>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>CamCommands</name>
    <message>
        <source>Cam lists (*.csv *.txt);;All files (*)</source>
        <translation>Listes de caméras (*.csv *.txt);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Export Cams</source>
        <translation>Exporter les caméras</translation>
    </message>
    <message>
        <source>Import Cams</source>
        <translation>Importer des caméras</translation>
    </message>
    <message>
        <source>1 cam</source>
        <translation>1 caméra</translation>
    </message>
    <message>
        <source>%1 cams</source>
        <translation>%1 caméras</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 ligne</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 lignes</translation>
    </message>
    <message>
        <source>The cam was renamed, but its own settings stay under &quot;%1&quot;</source>
        <translation>La caméra a été renommée, mais ses propres réglages restent sous « %1 »</translation>
    </message>
    <message>
        <source>The cam &quot;%1&quot; was not found in the cam list file, so nothing was deleted.</source>
        <translation>La caméra « %1 » est introuvable dans le fichier de la liste des caméras ; rien n’a été supprimé.</translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation>Confirmer la suppression</translation>
    </message>
    <message>
        <source>Are you sure you want to delete %1?</source>
        <translation>Voulez-vous vraiment supprimer %1 ?</translation>
    </message>
    <message>
        <source>The cam was deleted, but its own settings could not be removed</source>
        <translation>La caméra a été supprimée, mais ses propres réglages n’ont pas pu être effacés</translation>
    </message>
    <message>
        <source>The cam list file has changed since it was listed, so &quot;%1&quot; was not moved. The list now shows the file as it is.</source>
        <translation>Le fichier de la liste des caméras a changé depuis son affichage ; « %1 » n’a donc pas été déplacée. La liste montre maintenant le fichier tel qu’il est.</translation>
    </message>
    <message>
        <source>Could not read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 skipped</source>
        <translation>Importé de %1 : %2 ajoutée(s), %3 ignorée(s)</translation>
    </message>
    <message>
        <source>Exported %1 to %2</source>
        <translation>%1 exportée(s) vers %2</translation>
    </message>
    <message>
        <source>; not exported, their entries in the cam list file are not whole: %1</source>
        <translation>; non exportées, car leurs entrées dans le fichier de la liste des caméras sont incomplètes : %1</translation>
    </message>
</context>
<context>
    <name>CamDialog</name>
    <message>
        <source>:: error</source>
        <translation>:: erreur</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>URL:</source>
        <translation>URL :</translation>
    </message>
    <message>
        <source>enter the exact path to the image (found by right clicking an image in your browser and selecting &quot;properties&quot;</source>
        <translation>saisissez l’adresse exacte de l’image (clic droit sur l’image dans votre navigateur, puis « Propriétés » ou « Copier l’adresse de l’image »)</translation>
    </message>
    <message>
        <source>Refresh:</source>
        <translation>Actualisation :</translation>
    </message>
    <message>
        <source>Enter the time in seconds</source>
        <translation>Saisissez la durée en secondes</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>secondes</translation>
    </message>
    <message>
        <source>(digits only, 1 to 999)</source>
        <translation>(chiffres seulement, de 1 à 999)</translation>
    </message>
    <message>
        <source>New picture:</source>
        <translation>Nouvelle image :</translation>
    </message>
    <message>
        <source>Use the Options&apos; rule</source>
        <translation>Utiliser la règle des options</translation>
    </message>
    <message>
        <source>What makes a picture of this cam new (saved by AutoSave, kept in the history): the rule in Options, or one for this cam alone</source>
        <translation>Ce qui rend nouvelle une image de cette caméra (enregistrée automatiquement, gardée dans l’historique) : la règle des options, ou une règle propre à cette caméra</translation>
    </message>
    <message>
        <source>Save this cam&apos;s new pictures</source>
        <translation>Enregistrer les nouvelles images de cette caméra</translation>
    </message>
    <message>
        <source>While AutoSave New Pictures is ticked, this cam&apos;s new pictures are saved; untick it to pass this cam over.</source>
        <translation>Tant que « Enregistrer automatiquement les nouvelles images » est coché, les nouvelles images de cette caméra sont enregistrées ; décochez cette case pour ignorer cette caméra.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>you must enter all information</source>
        <translation>vous devez remplir tous les champs</translation>
    </message>
    <message>
        <source>the refresh time must be a whole number of seconds from 1 to 999</source>
        <translation>l’actualisation doit être un nombre entier de secondes entre 1 et 999</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is already in the list: choose another name</source>
        <translation>une caméra nommée « %1 » est déjà dans la liste : choisissez un autre nom</translation>
    </message>
    <message>
        <source>The cam was saved, but &quot;%1&quot; could not be stored: %2</source>
        <translation>La caméra a été enregistrée, mais « %1 » n’a pas pu être conservé : %2</translation>
    </message>
    <message>
        <source>the cam was saved, but its rule for new pictures could not be kept: %1</source>
        <translation>la caméra a été enregistrée, mais sa règle pour les nouvelles images n’a pas pu être conservée : %1</translation>
    </message>
</context>
<context>
    <name>CamImport</name>
    <message>
        <source>a field holds a line break</source>
        <translation>un champ contient un saut de ligne</translation>
    </message>
    <message>
        <source>text follows a quoted field</source>
        <translation>du texte suit un champ entre guillemets</translation>
    </message>
    <message>
        <source>a quote is never closed</source>
        <translation>un guillemet n’est jamais refermé</translation>
    </message>
    <message>
        <source>it has no name</source>
        <translation>elle n’a pas de nom</translation>
    </message>
    <message>
        <source>a name may not hold &quot;[name]&quot;</source>
        <translation>un nom ne peut pas contenir « [name] »</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>« %1 » n’est pas une adresse de caméra (http, https, rtsp ou rtsps)</translation>
    </message>
    <message>
        <source>the refresh time &quot;%1&quot; is not a whole number of seconds</source>
        <translation>l’actualisation « %1 » n’est pas un nombre entier de secondes</translation>
    </message>
    <message>
        <source>line %1 has the name &quot;%2&quot; already</source>
        <translation>la ligne %1 porte déjà le nom « %2 »</translation>
    </message>
    <message>
        <source>a cam named &quot;%1&quot; is in the list already</source>
        <translation>une caméra nommée « %1 » est déjà dans la liste</translation>
    </message>
    <message>
        <source>line %1 has the address already</source>
        <translation>la ligne %1 a déjà cette adresse</translation>
    </message>
    <message>
        <source>the cam &quot;%1&quot; in the list has this address</source>
        <translation>la caméra « %1 » de la liste a cette adresse</translation>
    </message>
    <message>
        <source>it has %1 of the %2 fields a cam needs</source>
        <translation>elle a %1 des %2 champs qu’il faut à une caméra</translation>
    </message>
    <message>
        <source>it is not a cam address (http, https, rtsp or rtsps)</source>
        <translation>ce n’est pas une adresse de caméra (http, https, rtsp ou rtsps)</translation>
    </message>
    <message>
        <source>; a CSV file begins with the header row name,address,refresh</source>
        <translation>; un fichier CSV commence par la ligne d’en-tête name,address,refresh</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: %2</source>
        <translation>Impossible d’écrire « %1 » : %2</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&amp;Cams</source>
        <translation>&amp;Caméras</translation>
    </message>
    <message>
        <source>Add a Cam</source>
        <translation>Ajouter une caméra</translation>
    </message>
    <message>
        <source>Delete Selected Cam</source>
        <translation>Supprimer la caméra choisie</translation>
    </message>
    <message>
        <source>Edit Selected Cam</source>
        <translation>Modifier la caméra choisie</translation>
    </message>
    <message>
        <source>Start Selected Cam</source>
        <translation>Démarrer la caméra choisie</translation>
    </message>
    <message>
        <source>Stop All Cams</source>
        <translation>Arrêter toutes les caméras</translation>
    </message>
    <message>
        <source>Make Time-lapse…</source>
        <translation>Créer un accéléré…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>View Help</source>
        <translation>Afficher l’aide</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À pro&amp;pos</translation>
    </message>
    <message>
        <source>About this software</source>
        <translation>À propos de ce logiciel</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>Options…</source>
        <translation>Options…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Affic&amp;hage</translation>
    </message>
    <message>
        <source>Wall</source>
        <translation>Mur</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Controls</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Suppr.</translation>
    </message>
    <message>
        <source>Remove Selected Cam</source>
        <translation>Retirer la caméra choisie</translation>
    </message>
    <message>
        <source>Start Cam</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Stop All</source>
        <translation>Tout arrêter</translation>
    </message>
    <message>
        <source>AutoSave New Pictures</source>
        <translation>Enregistrer les nouvelles images</translation>
    </message>
    <message>
        <source>saved to /cam/ subdirectory of the program folder</source>
        <translation>enregistrées dans le sous-dossier /cam/ du dossier du programme</translation>
    </message>
    <message>
        <source>Webcam Listing</source>
        <translation>Liste des webcams</translation>
    </message>
    <message>
        <source>Webcams</source>
        <translation>Webcams</translation>
    </message>
    <message>
        <source>The mask of %1 could not be kept: %2</source>
        <translation>Le masque de %1 n’a pas pu être conservé : %2</translation>
    </message>
    <message>
        <source>Not in the cam list: %1</source>
        <translation>Absentes de la liste des caméras : %1</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Copier l’adresse</translation>
    </message>
    <message>
        <source>Hold Shift to copy the address with its password</source>
        <translation>Maintenez Maj pour copier l’adresse avec son mot de passe</translation>
    </message>
    <message>
        <source>Open Address in Browser</source>
        <translation>Ouvrir l’adresse dans le navigateur</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importer…</translation>
    </message>
    <message>
        <source>Export…</source>
        <translation>Exporter…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Show in Viewer</source>
        <translation>Afficher dans la visionneuse</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Fetch Now</source>
        <translation>Récupérer maintenant</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l’image</translation>
    </message>
    <message>
        <source>%1 is no longer in the cam list</source>
        <translation>%1 n’est plus dans la liste des caméras</translation>
    </message>
    <message>
        <source>%1 has no address in the cam list file</source>
        <translation>%1 n’a pas d’adresse dans le fichier de la liste des caméras</translation>
    </message>
    <message>
        <source>%1 is a file on this computer, not a cam: a cam needs a web address (http, https, rtsp), so nothing was added</source>
        <translation>%1 est un fichier de cet ordinateur, pas une caméra : une caméra a besoin d’une adresse web (http, https, rtsp) ; rien n’a été ajouté</translation>
    </message>
    <message>
        <source>What was dropped is not a cam address (http, https, rtsp), so nothing was added</source>
        <translation>Ce qui a été déposé n’est pas une adresse de caméra (http, https, rtsp) ; rien n’a été ajouté</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>Earlier Picture</source>
        <translation>Image précédente</translation>
    </message>
    <message>
        <source>Later Picture</source>
        <translation>Image suivante</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En direct</translation>
    </message>
    <message>
        <source>No cam is shown in the Viewer: click a cam&apos;s picture first</source>
        <translation>Aucune caméra dans la visionneuse : cliquez d’abord sur l’image d’une caméra</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 par %2</translation>
    </message>
    <message>
        <source>The cam list could not be loaded: %1</source>
        <translation>La liste des caméras n’a pas pu être chargée : %1</translation>
    </message>
    <message>
        <source>The folder %1 could not be created (%2); new pictures cannot be saved.</source>
        <translation>Le dossier %1 n’a pas pu être créé (%2) ; les nouvelles images ne peuvent pas être enregistrées.</translation>
    </message>
    <message>
        <source>Not reopened, no longer in the cam list: %1</source>
        <translation>Non rouvertes, car absentes de la liste des caméras : %1</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>%1 :: Add a Cam</source>
        <translation>%1 :: Ajouter une caméra</translation>
    </message>
    <message>
        <source>My Cam</source>
        <translation>Ma caméra</translation>
    </message>
    <message>
        <source>create a unique name</source>
        <translation>choisissez un nom unique</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Create a unique name for the cam</source>
        <translation>Choisissez un nom unique pour la caméra</translation>
    </message>
    <message>
        <source>(Cams that are already open will need to be restarted)</source>
        <translation>(Les caméras déjà ouvertes devront être redémarrées)</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>Oops!</source>
        <translation>Oups !</translation>
    </message>
    <message>
        <source>You must first select a cam from the list.</source>
        <translation>Choisissez d’abord une caméra dans la liste.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Form8</name>
    <message>
        <source>Readme/Help</source>
        <translation>Lisez-moi/Aide</translation>
    </message>
    <message>
        <source>Show at Startup</source>
        <translation>Afficher au démarrage</translation>
    </message>
</context>
<context>
    <name>GmtClock</name>
    <message>
        <source> (system clock)</source>
        <translation> (horloge système)</translation>
    </message>
</context>
<context>
    <name>HistoryBar</name>
    <message>
        <source>Previous saved picture</source>
        <translation>Image enregistrée précédente</translation>
    </message>
    <message>
        <source>Next saved picture</source>
        <translation>Image enregistrée suivante</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>En direct</translation>
    </message>
    <message>
        <source>Back to the live picture</source>
        <translation>Retour à l’image en direct</translation>
    </message>
    <message>
        <source>The cam&apos;s saved pictures; the right end is live</source>
        <translation>Les images enregistrées de la caméra ; tout à droite, le direct</translation>
    </message>
    <message>
        <source>The saved picture %1 could not be read</source>
        <translation>L’image enregistrée %1 n’a pas pu être lue</translation>
    </message>
    <message>
        <source>Live (%1 new)</source>
        <translation>Direct (%1 nouv.)</translation>
    </message>
    <message>
        <source>Live (no saved pictures)</source>
        <translation>Direct (aucune image enregistrée)</translation>
    </message>
    <message>
        <source>Live (%1 saved)</source>
        <translation>Direct (%1 enregistrées)</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>&quot;%1&quot; is on or off.</source>
        <translation>« %1 » est activé ou désactivé.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; takes a whole number from %2 to %3%4.</source>
        <translation>« %1 » prend un nombre entier de %2 à %3%4.</translation>
    </message>
    <message>
        <source>, or nothing (%1)</source>
        <translation>, ou rien (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is one of: %2.</source>
        <translation>« %1 » vaut l’un de : %2.</translation>
    </message>
</context>
<context>
    <name>SecondaryWindows</name>
    <message>
        <source>Could not open %1: no web browser could be started (%2)</source>
        <translation>Impossible d’ouvrir %1 : aucun navigateur web n’a pu être lancé (%2)</translation>
    </message>
    <message>
        <source>xdg-open was not found</source>
        <translation>xdg-open est introuvable</translation>
    </message>
    <message>
        <source>xdg-open could not run: %1</source>
        <translation>xdg-open n’a pas pu s’exécuter : %1</translation>
    </message>
    <message>
        <source>xdg-open ended with status %1</source>
        <translation>xdg-open s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>xdg-open stopped</source>
        <translation>xdg-open a été interrompu</translation>
    </message>
</context>
<context>
    <name>SettingKeys</name>
    <message>
        <source>Reopen the cams that were open</source>
        <translation>Rouvrir les caméras qui étaient ouvertes</translation>
    </message>
    <message>
        <source>At start the cams that were open when the program ended come back in their panels, with the Viewer&apos;s cam, its zoom, the wall and the window&apos;s size and place as they were. --open, --wall and --fullscreen replace what they name.</source>
        <translation>Au démarrage, les caméras ouvertes à la fermeture du programme reviennent dans leurs panneaux, avec la caméra de la visionneuse, son zoom, le mur ainsi que la taille et la position de la fenêtre. --open, --wall et --fullscreen remplacent ce qu’ils désignent.</translation>
    </message>
    <message>
        <source>Stale after (minutes without a new picture)</source>
        <translation>Périmée après (minutes sans nouvelle image)</translation>
    </message>
    <message>
        <source>A cam whose pictures keep coming, but none of them new, is marked stale after this many minutes, or after ten of its refresh intervals when that is longer. Cams that send no Last-Modified time are never stale.</source>
        <translation>Une caméra dont les images arrivent toujours, mais sans aucune nouvelle, est marquée périmée après ce nombre de minutes, ou après dix de ses intervalles d’actualisation si c’est plus long. Les caméras qui n’envoient pas d’heure Last-Modified ne sont jamais périmées.</translation>
    </message>
    <message>
        <source>Frozen after (minutes without a change in the picture)</source>
        <translation>Figée après (minutes sans changement dans l’image)</translation>
    </message>
    <message>
        <source>A cam that keeps sending new pictures (a new Last-Modified or ETag, other bytes) while the picture itself stays the same, outside its mask, is marked frozen after this many minutes, or after ten of its refresh intervals when that is longer: a burnt-in clock that still ticks on a picture that no longer changes. 0: never.</source>
        <translation>Une caméra qui envoie toujours de nouvelles images (nouveau Last-Modified ou ETag, autres octets) alors que l’image elle-même ne change pas hors de son masque est marquée figée après ce nombre de minutes, ou après dix de ses intervalles d’actualisation si c’est plus long : une horloge incrustée qui tourne encore sur une image qui ne bouge plus. 0 : jamais.</translation>
    </message>
    <message>
        <source>Keep saved pictures for N days</source>
        <translation>Garder les images enregistrées N jours</translation>
    </message>
    <message>
        <source>Pictures this program saved and indexed are deleted once they are older than this many days (checked at start and every hour). Empty keeps them for ever.</source>
        <translation>Les images enregistrées et indexées par ce programme sont supprimées dès qu’elles ont plus de ce nombre de jours (vérifié au démarrage et toutes les heures). Vide : elles sont gardées pour toujours.</translation>
    </message>
    <message>
        <source>forever</source>
        <translation>pour toujours</translation>
    </message>
    <message>
        <source>Save pictures in</source>
        <translation>Enregistrer les images dans</translation>
    </message>
    <message>
        <source>The folder new pictures (AutoSave and Save Image) are saved in; it is made when missing. Each folder has its own picture index, so the history shows the pictures of the folder chosen. Empty: the folder cam beside the program.</source>
        <translation>Le dossier où les nouvelles images (enregistrement automatique et « Enregistrer l’image ») sont enregistrées ; il est créé s’il manque. Chaque dossier a son propre index d’images : l’historique montre les images du dossier choisi. Vide : le dossier cam à côté du programme.</translation>
    </message>
    <message>
        <source>the folder cam beside the program</source>
        <translation>le dossier cam à côté du programme</translation>
    </message>
    <message>
        <source>Classic: HarbourCam9Dec2026155945.jpg</source>
        <translation>Classique : CamPort9déc2026155945.jpg</translation>
    </message>
    <message>
        <source>Sortable: Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg</source>
        <translation>Triable : Cam Port/2026-12-09/Cam Port 2026-12-09 15.59.45.jpg</translation>
    </message>
    <message>
        <source>Saved pictures&apos; names</source>
        <translation>Noms des images enregistrées</translation>
    </message>
    <message>
        <source>Classic: the cam&apos;s name, the date and the time in your formats, every picture in one folder. Sortable: a folder per cam and per day, names that sort by time, and two pictures of one second kept apart by &quot; (2)&quot;. Pictures saved under either are found by the history, the time-lapse and the retention.</source>
        <translation>Classique : le nom de la caméra, la date et l’heure dans vos formats, toutes les images dans un seul dossier. Triable : un dossier par caméra et par jour, des noms qui se trient par heure, et deux images de la même seconde distinguées par « (2) ». L’historique, l’accéléré et la conservation trouvent les images enregistrées des deux façons.</translation>
    </message>
    <message>
        <source>Trusted certificate authorities (PEM file)</source>
        <translation>Autorités de certification de confiance (fichier PEM)</translation>
    </message>
    <message>
        <source>https cams whose certificate comes from one of the authorities in this PEM file are trusted, as are those SSL_CERT_FILE and SSL_CERT_DIR name.</source>
        <translation>Les caméras https dont le certificat vient d’une des autorités de ce fichier PEM sont reconnues, comme celles que désignent SSL_CERT_FILE et SSL_CERT_DIR.</translation>
    </message>
    <message>
        <source>only the system&apos;s</source>
        <translation>seulement celles du système</translation>
    </message>
    <message>
        <source>Let a download that is still arriving finish</source>
        <translation>Laisser finir un téléchargement en cours</translation>
    </message>
    <message>
        <source>When a cam&apos;s refresh interval ends while its picture is still arriving, the download goes on and the next one starts as soon as it ends. A download that brings no byte for 10 seconds is abandoned.</source>
        <translation>Quand l’intervalle d’actualisation d’une caméra se termine alors que son image arrive encore, le téléchargement continue et le suivant commence dès qu’il est fini. Un téléchargement qui n’apporte aucun octet pendant 10 secondes est abandonné.</translation>
    </message>
    <message>
        <source>&quot;{label}&quot; takes a host name or address, optionally followed by &quot;:port&quot; (1 to 65535), such as time.nist.gov or 192.0.2.1:13.</source>
        <translation>« {label} » prend un nom d’hôte ou une adresse, éventuellement suivi de « :port » (1 à 65535), comme time.nist.gov ou 192.0.2.1:13.</translation>
    </message>
    <message>
        <source>Time server (daytime protocol)</source>
        <translation>Serveur d’heure (protocole daytime)</translation>
    </message>
    <message>
        <source>The server the GMT clock asks for the time, with the daytime protocol (port 13 unless &quot;host:port&quot; names another). Empty asks {default}.</source>
        <translation>Le serveur auquel l’horloge GMT demande l’heure, avec le protocole daytime (port 13, sauf si « hôte:port » en indique un autre). Vide : {default} est interrogé.</translation>
    </message>
    <message>
        <source>Follow redirects</source>
        <translation>Suivre les redirections</translation>
    </message>
    <message>
        <source>A cam that answers with a redirect (301, 302, 303, 307, 308) is asked again at the new address, up to 5 times. http may lead to https, never https to http. Off: a redirect shows the not-found picture.</source>
        <translation>Une caméra qui répond par une redirection (301, 302, 303, 307, 308) est interrogée de nouveau à la nouvelle adresse, jusqu’à 5 fois. http peut mener à https, jamais https à http. Désactivé : une redirection affiche l’image « introuvable ».</translation>
    </message>
    <message>
        <source>Ask whether the picture changed</source>
        <translation>Demander si l’image a changé</translation>
    </message>
    <message>
        <source>Each fetch sends the last picture&apos;s ETag and Last-Modified time; a cam that answers 304 (unchanged) sends no picture, and the one shown stays.</source>
        <translation>Chaque récupération envoie l’ETag et l’heure Last-Modified de la dernière image ; une caméra qui répond 304 (inchangée) n’envoie pas d’image, et celle affichée reste.</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line</source>
        <translation>La ligne Last-Modified du serveur</translation>
    </message>
    <message>
        <source>The picture&apos;s content</source>
        <translation>Le contenu de l’image</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Les deux</translation>
    </message>
    <message>
        <source>A picture is new when it changed by</source>
        <translation>Ce qui rend une image nouvelle</translation>
    </message>
    <message>
        <source>The server&apos;s Last-Modified line: a new time stamp makes a new picture, whatever it shows. The picture&apos;s content: the picture itself changed (identical bytes never have); suits cams that send no Last-Modified, or a new one with every answer. Both: the server says so and the picture changed.</source>
        <translation>La ligne Last-Modified du serveur : un nouvel horodatage fait une nouvelle image, quoi qu’elle montre. Le contenu de l’image : l’image elle-même a changé (des octets identiques jamais) ; convient aux caméras qui n’envoient pas de Last-Modified, ou un nouveau à chaque réponse. Les deux : le serveur le dit et l’image a changé.</translation>
    </message>
    <message>
        <source>Content rule: a pixel changed by more than (of 255)</source>
        <translation>Règle du contenu : un pixel a changé de plus de (sur 255)</translation>
    </message>
    <message>
        <source>Under the content rule, each picture is compared with the last new one as a small grey copy; a pixel of it has changed when its brightness differs by more than this many levels of 255.</source>
        <translation>Avec la règle du contenu, chaque image est comparée à la dernière nouvelle sous forme d’une petite copie en gris ; un pixel a changé quand sa luminosité diffère de plus de ce nombre de niveaux sur 255.</translation>
    </message>
    <message>
        <source>Content rule: new when more than N per mille of it changed</source>
        <translation>Règle du contenu : nouvelle si plus de N pour mille a changé</translation>
    </message>
    <message>
        <source>Under the content rule, a picture is new when more than this many thousandths of its pixels changed (5: half a percent).</source>
        <translation>Avec la règle du contenu, une image est nouvelle quand plus de ce nombre de millièmes de ses pixels a changé (5 : un demi pour cent).</translation>
    </message>
    <message>
        <source>At the bottom</source>
        <translation>En bas</translation>
    </message>
    <message>
        <source>At the top</source>
        <translation>En haut</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Masqué</translation>
    </message>
    <message>
        <source>Wall: name and time band</source>
        <translation>Mur : bandeau du nom et de l’heure</translation>
    </message>
    <message>
        <source>Where each wall tile shows its cam&apos;s name and the time its picture last changed. At the top suits cams that print their own caption at the bottom of the picture; hidden leaves the whole picture free.</source>
        <translation>Où chaque vignette du mur affiche le nom de sa caméra et l’heure du dernier changement de l’image. En haut convient aux caméras qui impriment leur propre légende en bas de l’image ; masqué laisse toute l’image libre.</translation>
    </message>
    <message>
        <source>Desktop notifications when a cam goes down</source>
        <translation>Notifications du bureau quand une caméra tombe</translation>
    </message>
    <message>
        <source>A cam that has been failing, frozen or stale for the time below is told in a desktop notification, and so is its return. Cams that change together share one notification.</source>
        <translation>Une caméra en échec, figée ou périmée pendant la durée ci-dessous est signalée par une notification du bureau, tout comme son retour. Les caméras qui changent ensemble partagent une notification.</translation>
    </message>
    <message>
        <source>Alert after (seconds a cam is down)</source>
        <translation>Alerter après (secondes de panne d’une caméra)</translation>
    </message>
    <message>
        <source>A cam alerts once it has been failing, frozen or stale for this many seconds, added up while it comes and goes, and at most once in this time.</source>
        <translation>Une caméra alerte dès qu’elle est en échec, figée ou périmée depuis ce nombre de secondes, cumulées tant qu’elle va et vient, et au plus une fois dans ce délai.</translation>
    </message>
    <message>
        <source>Alert command (program and arguments, no shell)</source>
        <translation>Commande d’alerte (programme et arguments, sans shell)</translation>
    </message>
    <message>
        <source>Run on each alert, whether or not notifications are on, with TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE and TOLVANE_PICTURE (the last picture) in its environment. It is stopped after 10 seconds; its output goes to the log.</source>
        <translation>Lancée à chaque alerte, que les notifications soient activées ou non, avec TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE et TOLVANE_PICTURE (la dernière image) dans son environnement. Elle est arrêtée après 10 secondes ; sa sortie va dans le journal.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucune</translation>
    </message>
    <message>
        <source>Keep watching in the tray when the window is closed</source>
        <translation>Continuer dans la zone de notification quand la fenêtre est fermée</translation>
    </message>
    <message>
        <source>Closing the window leaves the cams watched and alerting; the tray icon shows their health, brings the window back and ends the program (Exit). Without a tray on the desktop, closing still ends the program.</source>
        <translation>Fermer la fenêtre laisse les caméras surveillées et les alertes actives ; l’icône de la zone de notification montre leur état, rappelle la fenêtre et quitte le programme (Quitter). Sans zone de notification sur le bureau, fermer quitte toujours le programme.</translation>
    </message>
    <message>
        <source>The zoom takes 1 to 5, or fit.</source>
        <translation>Le zoom prend 1 à 5, ou fit.</translation>
    </message>
</context>
<context>
    <name>SlotGrid</name>
    <message>
        <source>%1 %2 was saved but not added to the picture index: %3</source>
        <translation>%1 %2 a été enregistrée, mais pas ajoutée à l’index des images : %3</translation>
    </message>
    <message>
        <source>%1 new picture saved as %2</source>
        <translation>%1 nouvelle image enregistrée sous %2</translation>
    </message>
    <message>
        <source>%1 no picture to save</source>
        <translation>%1 aucune image à enregistrer</translation>
    </message>
    <message>
        <source>%1 could not save %2: %3</source>
        <translation>%1 impossible d’enregistrer %2 : %3</translation>
    </message>
    <message>
        <source>%1 saved as %2</source>
        <translation>%1 enregistrée sous %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d’ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open %1: its entry in the cam list file %2</source>
        <translation>Impossible d’ouvrir %1 : son entrée dans le fichier de la liste des caméras %2</translation>
    </message>
    <message>
        <source>Cannot open %1: it is not in the cam list file</source>
        <translation>Impossible d’ouvrir %1 : elle n’est pas dans le fichier de la liste des caméras</translation>
    </message>
    <message>
        <source>Cannot open %1: its refresh rate &quot;%2&quot; is not a number of seconds</source>
        <translation>Impossible d’ouvrir %1 : son actualisation « %2 » n’est pas un nombre de secondes</translation>
    </message>
    <message>
        <source>All 24 panels are in use: stop a cam first</source>
        <translation>Les 24 panneaux sont occupés : arrêtez d’abord une caméra</translation>
    </message>
    <message>
        <source>waiting for the download</source>
        <translation>attend le téléchargement</translation>
    </message>
</context>
<context>
    <name>StartupValues</name>
    <message>
        <source>%1 (error 0x%2)</source>
        <translation>%1 (erreur 0x%2)</translation>
    </message>
    <message>
        <source>The setting &quot;autoSave&quot; could not be read: %1. AutoSave New Pictures starts switched off.</source>
        <translation>Le réglage « autoSave » n’a pas pu être lu : %1. « Enregistrer les nouvelles images » démarre désactivé.</translation>
    </message>
    <message>
        <source>The stored setting &quot;autoSave&quot; is &quot;%1&quot;, which is neither 0 nor 1. AutoSave New Pictures starts switched off.</source>
        <translation>Le réglage enregistré « autoSave » vaut « %1 », ni 0 ni 1. « Enregistrer les nouvelles images » démarre désactivé.</translation>
    </message>
    <message>
        <source>The setting &quot;showHelp&quot; could not be read: %1. The Help window opens as usual.</source>
        <translation>Le réglage « showHelp » n’a pas pu être lu : %1. La fenêtre d’aide s’ouvre comme d’habitude.</translation>
    </message>
</context>
<context>
    <name>ViewerPane</name>
    <message>
        <source>Fit</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Visionneuse</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom :</translation>
    </message>
    <message>
        <source>The whole picture in the Viewer (0)</source>
        <translation>Toute l’image dans la visionneuse (0)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l’image</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Écran de veille</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Masque</translation>
    </message>
    <message>
        <source>Parts of the picture that do not count as a change (a clock, a logo): drag to add a rectangle, click one to remove it</source>
        <translation>Parties de l’image qui ne comptent pas comme un changement (une horloge, un logo) : faites glisser pour ajouter un rectangle, cliquez sur l’un d’eux pour le retirer</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Refresh Rate:</source>
        <translation>Actualisation :</translation>
    </message>
    <message>
        <source>Last Changed:</source>
        <translation>Dernier changement :</translation>
    </message>
    <message>
        <source>Last Refreshed:</source>
        <translation>Dernière actualisation :</translation>
    </message>
    <message>
        <source>Next Refresh:</source>
        <translation>Prochaine actualisation :</translation>
    </message>
    <message>
        <source>Current Time:</source>
        <translation>Heure actuelle :</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>État :</translation>
    </message>
</context>
<context>
    <name>ViewerSlot</name>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
</context>
<context>
    <name>WallView</name>
    <message>
        <source>No cams are open. Press Esc for the cam list.</source>
        <translation>Aucune caméra n’est ouverte. Appuyez sur Échap pour la liste des caméras.</translation>
    </message>
</context>
<context>
    <name>WatchedCam</name>
    <message>
        <source>Downloading %1 [%2]</source>
        <translation>Téléchargement de %1 [%2]</translation>
    </message>
    <message>
        <source>%1 could not save the new picture of %2 as %3: %4</source>
        <translation>%1 impossible d’enregistrer la nouvelle image de %2 sous %3 : %4</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version:</source>
        <translation>Version :</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Propriétaire :</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Site web :</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.
It comes with no warranty.</source>
        <translation>Logiciel libre sous licence publique générale GNU, version 3 ou ultérieure.
Il est fourni sans aucune garantie.</translation>
    </message>
</context>
<context>
    <name>frmImport</name>
    <message>
        <source>%1 :: Import Cams</source>
        <translation>%1 :: Importer des caméras</translation>
    </message>
    <message>
        <source>From %1 (%2): %3, %4.</source>
        <translation>De %1 (%2) : %3, %4.</translation>
    </message>
    <message>
        <source>a CSV file</source>
        <translation>un fichier CSV</translation>
    </message>
    <message>
        <source>a list of addresses</source>
        <translation>une liste d’adresses</translation>
    </message>
    <message>
        <source>1 cam will be added</source>
        <translation>1 caméra sera ajoutée</translation>
    </message>
    <message>
        <source>%1 cams will be added</source>
        <translation>%1 caméras seront ajoutées</translation>
    </message>
    <message>
        <source>1 row is skipped</source>
        <translation>1 ligne est ignorée</translation>
    </message>
    <message>
        <source>%1 rows are skipped</source>
        <translation>%1 lignes sont ignorées</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualisation</translation>
    </message>
    <message>
        <source>What happens</source>
        <translation>Ce qui se passe</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajoutée</translation>
    </message>
    <message>
        <source>skipped: %1</source>
        <translation>ignorée : %1</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Parcourir…</translation>
    </message>
</context>
<context>
    <name>frmTimelapse</name>
    <message>
        <source>Make Time-lapse</source>
        <translation>Créer un accéléré</translation>
    </message>
    <message>
        <source>Cam:</source>
        <translation>Caméra :</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Du :</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Au :</translation>
    </message>
    <message>
        <source>Frames per second:</source>
        <translation>Images par seconde :</translation>
    </message>
    <message>
        <source>Browse…</source>
        <translation>Parcourir…</translation>
    </message>
    <message>
        <source>Video file:</source>
        <translation>Fichier vidéo :</translation>
    </message>
    <message>
        <source>Make</source>
        <translation>Créer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Video file</source>
        <translation>Fichier vidéo</translation>
    </message>
    <message>
        <source>MP4 video (*.mp4)</source>
        <translation>Vidéo MP4 (*.mp4)</translation>
    </message>
    <message>
        <source>%1 already exists.

Replace it with the time-lapse of &quot;%2&quot;?</source>
        <translation>%1 existe déjà.

Le remplacer par l’accéléré de « %2 » ?</translation>
    </message>
    <message>
        <source>There are no saved pictures of &quot;%1&quot; in that range.</source>
        <translation>Aucune image enregistrée de « %1 » dans cette période.</translation>
    </message>
    <message>
        <source>Nothing was made; %1 is as it was.</source>
        <translation>Rien n’a été créé ; %1 est inchangé.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Making the time-lapse</source>
        <translation>Création de l’accéléré</translation>
    </message>
    <message>
        <source>%1 of %2, %3 left</source>
        <translation>%1 sur %2, reste %3</translation>
    </message>
    <message>
        <source>No video: %1</source>
        <translation>Pas de vidéo : %1</translation>
    </message>
</context>
</TS>
