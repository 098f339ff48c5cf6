#include "Localization/HelpTopicTexts.hpp"

#include <fmt/format.h>

namespace tessarin::HelpTopicTexts {

// The texts keep the line breaks a reviewer reads them in.
// clang-format off
std::vector<HelpTopic> french(std::string_view appName) {
    using B = HelpBlock;
    return {
        {"start",
         "Premiers pas",
         "play.circle",
         {
             B::paragraph(fmt::format(
                 "{} est un client Modbus TCP\u00a0: il lit les valeurs des appareils du réseau, comme les "
                 "compteurs d'énergie, les automates et les régulateurs, et peut aussi y écrire des valeurs. "
                 "Les appareils situés derrière une passerelle Modbus vers RS-485 s'atteignent de la même "
                 "façon.",
                 appName)),
             B::heading("En quatre étapes"),
             B::bullets({
                 "Saisissez en haut l'adresse IP ou le nom de l'appareil et le port TCP (`502` par défaut).",
                 "Saisissez les points de données dans le tableau\u00a0: ID d'unité, table, adresse et type, "
                 "tels qu'ils figurent dans le manuel de l'appareil.",
                 "Si nécessaire, choisissez un délai de réponse plus long avec le bouton à curseurs\u00a0; "
                 "via une passerelle vers RS-485, 1 s ou plus.",
                 "Cliquez sur **Démarrer** (⌘R). La colonne **Valeur** affiche les valeurs actuelles, et "
                 "**État** indique si la lecture fonctionne.",
             }),
             B::screenshot("overview",
                           "Un poll avec les valeurs en direct et l'état de chaque point de données, la "
                           "communication en dessous."),
             B::paragraph(
                 "Les polls et les points de données sont enregistrés automatiquement. Le bouton **Projet**, "
                 "à gauche des onglets, permet de créer un nouveau projet, d'ouvrir un fichier de projet ou "
                 "d'enregistrer le projet actuel\u00a0; avant de remplacer le projet actuel, l'application "
                 "vous demande s'il faut d'abord l'enregistrer. Pas d'appareil sous la main\u00a0? **Lecture** "
                 "▸ **Appareil de démonstration** démarre un appareil simulé pour le projet actuel et le lit."),
         }},
        {"polls",
         "Polls",
         "square.stack",
         {
             B::paragraph(
                 "Un poll est un groupe de points de données avec son propre intervalle, présenté sous forme "
                 "d'onglet\u00a0: lisez par exemple les valeurs qui changent vite toutes les 250 ms et les "
                 "compteurs toutes les minutes. **+** (⌘T) crée un poll\u00a0; cliquez sur un onglet avec le "
                 "bouton droit pour le dupliquer ou le supprimer."),
             B::paragraph(
                 "Le point de l'onglet est vert quand tout est lu et orange quand quelque chose échoue. "
                 "Désactivez **Actif** pour ignorer un poll."),
             B::paragraph(
                 "Les points de données voisins sont lus en une seule requête (jusqu'à 125 registres ou 2000 "
                 "bits). Dans les réglages, de petits écarts entre les adresses peuvent aussi être "
                 "comblés\u00a0: c'est plus rapide, mais certains appareils répondent alors par l'exception "
                 "02."),
             B::paragraph(
                 "Une seule requête est en cours à la fois, et les écritures passent avant les lectures. Si "
                 "la connexion est perdue, l'application se reconnecte d'elle-même."),
         }},
        {"datapoints",
         "Points de données",
         "tablecells",
         {
             B::paragraph(
                 "Un point de données est une valeur dans un appareil. L'application convertit ses registres "
                 "en une valeur lisible."),
             B::table({
                 {"ID", "l'ID d'unité de l'appareil (1–247\u00a0; en Modbus TCP souvent 1 ou 255)"},
                 {"Table",
                  "**Bobine** (bit, lecture et écriture), **Entrée discrète** (bit, lecture seule), "
                  "**Registre de maintien** (16 bits, lecture et écriture) ou **Registre d'entrée** (16 "
                  "bits, lecture seule)"},
                 {"Adresse",
                  "l'adresse protocole, à partir de `0`. Les manuels utilisent souvent la notation "
                  "Modicon\u00a0: le registre de maintien `40001` est l'adresse `0`, le registre d'entrée "
                  "`30010` l'adresse `9`. Survolez l'adresse avec le pointeur pour voir la notation "
                  "Modicon."},
                 {"Type",
                  "`UInt16`/`Int16` occupent un registre, `UInt32`/`Int32`/`Float32` deux et les types 64 "
                  "bits quatre registres consécutifs"},
                 {"Ordre", "l'ordre des octets des valeurs qui s'étendent sur plusieurs registres, voir "
                           "ci-dessous"},
                 {"Échelle", "valeur = valeur brute × échelle\u00a0; avec `0,1`, `215` devient `21,5`"},
                 {"Affichage",
                  "décimal, hexadécimal (`0x00FF`) ou binaire\u00a0; l'hexadécimal et le binaire montrent "
                  "les bits bruts du registre"},
             }),
             B::heading("Ordre des mots"),
             B::paragraph(
                 "Modbus ne connaît que des registres de 16 bits, et les fabricants y répartissent les "
                 "valeurs de 32 et 64 bits de différentes façons. Les lettres désignent les octets de la "
                 "valeur, le plus significatif en premier."),
             B::table({
                 {"ABCD", "mot de poids fort en premier\u00a0: le standard Modbus"},
                 {"CDAB", "mots inversés, courant dans les automates et les compteurs d'énergie"},
                 {"BADC", "octets inversés dans chaque mot"},
                 {"DCBA", "entièrement inversé (little-endian)"},
             }),
             B::tip(
                 "Une valeur semble étrange, par exemple `0,0000…` avec une longue suite de zéros, ou un "
                 "nombre énorme, là où `21,5` est attendu\u00a0? Essayez alors un autre ordre, le plus "
                 "souvent CDAB."),
         }},
        {"writing",
         "Écrire des valeurs",
         "pencil",
         {
             B::paragraph(
                 "Les bobines et les registres de maintien s'écrivent avec le crayon de la colonne "
                 "**Valeur**\u00a0: saisissez la nouvelle valeur et cliquez sur **Écrire**, ou, pour un bit, "
                 "cliquez sur **Marche** ou **Arrêt**. La valeur est convertie selon le type, l'ordre et "
                 "l'échelle du point de données."),
             B::paragraph(
                 "L'application écrit une bobine avec FC05, un registre avec FC06 et plusieurs registres "
                 "avec FC16. Pour les appareils qui ne prennent en charge que FC15 et FC16, choisissez "
                 "**Toujours FC15/16** dans les réglages."),
             B::tip(
                 "L'écriture ne fonctionne que pendant la lecture. Si une écriture échoue, un message en "
                 "indique la raison, par exemple l'exception 02 (l'adresse n'existe pas) ou 03 (valeur hors "
                 "plage)."),
         }},
        {"chart",
         "Graphique et export",
         "chart.xyaxis.line",
         {
             B::paragraph(
                 "Cochez dans la colonne **Tracé** les points de données à suivre. Le graphique s'affiche "
                 "en bas\u00a0: le bouton de menu en haut à gauche du panneau passe de **Journal** à "
                 "**Graphique**, et la période se choisit en haut à droite."),
             B::screenshot("chart", "La température de la dernière minute."),
             B::paragraph(
                 "Chaque valeur lue est enregistrée, jusqu'à 20\u00a0000 par point de données. **Exporter "
                 "l'historique (CSV)…** écrit une ligne par mesure, avec l'heure, le poll, le nom, la valeur "
                 "et l'unité."),
         }},
        {"csv",
         "Excel et CSV",
         "doc.text",
         {
             B::paragraph(
                 "Les listes de points de données peuvent être préparées dans un tableur comme Excel ou "
                 "Numbers et importées en CSV. **CSV ▸ Exporter les points de données** écrit un fichier que "
                 "le tableur ouvre directement, avec les valeurs du moment."),
             B::paragraph(
                 "La première ligne contient les noms des colonnes. Seules **Table** et **Address** (ou "
                 "**Table** et **Adresse**) sont obligatoires, et l'ordre des colonnes n'a pas "
                 "d'importance."),
             B::table({
                 {"Name", "nom du point de données"},
                 {"Unit ID", "ID d'unité, 1 si vide"},
                 {"Table", "`CO`, `DI`, `HR` ou `IR` (aussi `coil`, `holding`, `4x` …)"},
                 {"Address", "adresse à partir de 0"},
                 {"Data type", "`uint16`, `int16`, `float32` … (aussi `float`, `real`, `dint`)"},
                 {"Word order", "`ABCD`, `CDAB`, `BADC` ou `DCBA`"},
                 {"Scale, Unit, Format, Value, Description", "facultatif"},
             }),
             B::tip(
                 "Le séparateur suit les réglages régionaux\u00a0: un point-virgule là où les décimales "
                 "s'écrivent avec une virgule. À l'import, la virgule, le point-virgule et la tabulation "
                 "sont reconnus, et aussi bien `21,5` que `21.5`."),
         }},
        {"rtu-over-tcp",
         "RTU sur TCP",
         "arrow.left.arrow.right",
         {
             B::paragraph(
                 "De nombreux convertisseurs Ethernet et Wi-Fi vers RS-485 (comme USR-TCP232, Elfin EW11, "
                 "Waveshare ou Moxa NPort en mode serveur TCP) transmettent la trame RTU (unité, PDU, CRC) "
                 "telle quelle, sans en-tête MBAP\u00a0: c'est le *RTU sur TCP*. Les appareils qui intègrent "
                 "un tel convertisseur fonctionnent souvent de la même façon."),
             B::paragraph(
                 "Le protocole se choisit avec le bouton à curseurs\u00a0: **Modbus TCP** ou **RTU sur "
                 "TCP**. Il ne peut être modifié que lorsque la lecture est arrêtée, et il est enregistré "
                 "dans le projet."),
             B::heading("Différences avec Modbus TCP"),
             B::bullets({
                 "L'ID d'unité est l'adresse d'esclave RS-485 (1–247). L'unité `0` est une diffusion "
                 "(broadcast), qui ne reçoit pas de réponse.",
                 "Il n'y a pas d'ID de transaction. Avant chaque requête, l'application écarte donc tout ce "
                 "qui arrive encore, et ignore une réponse d'une autre unité ou avec un autre code fonction.",
                 "Une réponse dont le CRC est faux reçoit l'état **Erreur CRC**\u00a0: vérifiez le câblage "
                 "et la vitesse de transmission.",
             }),
             B::tip(
                 "Les paramètres série du convertisseur se règlent sur le convertisseur lui-même. Un délai "
                 "de réponse plus long (1 s ou plus) aide avec les appareils lents."),
         }},
        {"log",
         "État et journal",
         "text.alignleft",
         {
             B::table({
                 {"OK · 24 ms", "lu, avec le temps de réponse"},
                 {"Sans réponse", "aucune réponse dans le délai de réponse"},
                 {"Exception 02", "l'appareil refuse la requête, voir ci-dessous"},
                 {"Pas de connexion",
                  "la connexion avec l'appareil est perdue\u00a0; l'application se reconnecte d'elle-même"},
             }),
             B::paragraph(
                 "Après un échec, la dernière valeur valide reste affichée, en gris. Survolez la valeur pour "
                 "voir les registres bruts, ou l'état pour voir l'heure de la dernière lecture."),
             B::heading("Codes d'exception"),
             B::table({
                 {"01", "l'appareil ne prend pas en charge ce code fonction"},
                 {"02", "cette adresse n'existe pas (attention\u00a0: les adresses commencent à 0)"},
                 {"03", "valeur ou quantité non valide"},
                 {"04", "défaillance de l'appareil"},
                 {"06", "appareil occupé, réessayez plus tard"},
             }),
             B::paragraph(
                 "Le journal est masqué par défaut\u00a0; **Journal** en bas (⌘L) l'affiche. Il montre "
                 "chaque réponse (←), chaque écriture (✎) et chaque échec (✕)."),
         }},
        {"troubleshooting",
         "Dépannage",
         "wrench.and.screwdriver",
         {
             B::heading("Sans réponse"),
             B::bullets({
                 // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one sentence over two lines
                 "Vérifiez l'ID d'unité\u00a0: souvent 1 ou 255\u00a0; derrière une passerelle, c'est "
                 "l'adresse d'esclave RTU.",
                 "Augmentez le délai de réponse pour les appareils lents.",
                 "Vérifiez le réseau et l'adresse IP (`ping` dans un terminal).",
                 "Modbus TCP utilise le port `502` par défaut, mais certains appareils en utilisent un "
                 "autre.",
                 "Un pare-feu sur l'ordinateur, dans le réseau ou sur l'appareil peut bloquer le port. Au "
                 "premier démarrage, le système peut demander si l'application a le droit d'accepter des "
                 "connexions.",
                 "Vérifiez le protocole\u00a0: un convertisseur parle souvent *RTU sur TCP*.",
             }),
             B::heading("Valeurs étranges"),
             B::bullets({
                 "Tout est décalé d'une adresse\u00a0? Le manuel compte alors à partir de 1 (ou de "
                 "40001)\u00a0: soustrayez 1.",
                 "Une valeur 32 bits est fausse\u00a0? Essayez un autre ordre, le plus souvent CDAB.",
                 "L'ordre de grandeur est faux\u00a0? Vérifiez l'échelle (0,1 ou 0,01).",
             }),
             B::paragraph(
                 "L'application n'utilise le réseau que pour Modbus TCP, et n'ouvre et n'enregistre que les "
                 "fichiers que vous choisissez. Rien n'est collecté ni envoyé."),
         }},
        {"shortcuts",
         "Raccourcis clavier",
         "keyboard",
         {
             B::table({
                 {"⌘R", "Démarrer / arrêter la lecture"},
                 {"⌘T", "Nouveau poll"},
                 {"⇧⌘D", "Ajouter un point de données"},
                 {"⌘⌫", "Supprimer les points de données sélectionnés"},
                 {"⇧⌘I / ⇧⌘E", "Importer / exporter les points de données (CSV)"},
                 {"⌘N / ⌘O / ⇧⌘S", "Nouveau projet / ouvrir / enregistrer sous"},
                 {"⌘L", "Afficher ou masquer le journal"},
                 {"⌘F", "Rechercher dans le journal"},
                 {"⌘S", "Enregistrer le journal"},
                 {"⌘K", "Effacer le journal"},
                 {"⌘?", "Ouvrir cette aide"},
             }),
         }},
    };
}
// clang-format on

}  // namespace tessarin::HelpTopicTexts
