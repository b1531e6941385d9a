#pragma once
// The framework's language entries, ids 0 to 158 in id order: key and the
// built-in French text (UTF-8 here; the table holds them in Windows-1252).
// Ids 65 to 158 are the display names of key ids 0 to 93.

// clang-format off
#define VELMORIQUE_FRAMEWORK_TEXTS(X) \
    X(LANG_ERROR, "Erreur") /* 0 */ \
    X(LANG_MAPI32NOTFOUD, "MAPI32.DLL n'a pas été trouvée. La fonction mail sera donc désactivée.") /* 1 */ \
    X(LANG_RENDERINGERROR, "Erreur de rendu. L'application va maintenant se terminer.") /* 2 */ \
    X(LANG_NODIRECT3D, "Impossible d'initialiser Direct3D. Vérifiez que la dernière version de DirectX est bien installé sur votre ordinateur.") /* 3 */ \
    X(LANG_OUT_OF_VIDEO_MEMORY, "Pas assez de mémoire vidéo.") /* 4 */ \
    X(LANG_OUT_OF_MEMORY, "Pas de mémoire") /* 5 */ \
    X(LANG_NO_SOUND_CARD, "Impossible de lancer l'application car vous ne disposez pas de carte son ou vos drivers de carte son ne sont pas installés.\nInstallez une carte son avec ses drivers pour remedier à ce problème.") /* 6 */ \
    X(LANG_FATAL_ERROR, "Erreure fatale %s : %s") /* 7 */ \
    X(LANG_INFORMATION, "Information") /* 8 */ \
    X(LANG_ERROR_STRING, "Erreur %s") /* 9 */ \
    X(LANG_BUTTON_CAPTION_OK, "OK") /* 10 */ \
    X(LANG_BUTTON_CAPTION_YES, "Oui") /* 11 */ \
    X(LANG_BUTTON_CAPTION_NO, "Non") /* 12 */ \
    X(LANG_BUTTON_CAPTION_CANCEL, "Annuler") /* 13 */ \
    X(LANG_FILENOTFOUND, "Fichier Inexistant") /* 14 */ \
    X(LANG_WARNING, "Attention") /* 15 */ \
    X(LANG_FILES_FILTER_TEXT, "Filtre :") /* 16 */ \
    X(LANG_FILES_DIRECTORY_TEXT, "Dossier :") /* 17 */ \
    X(LANG_FILES_FILE_TEXT, "Fichier :") /* 18 */ \
    X(LANG_ASK_FOR_REPLACEMENT, "Ce fichier existe déjà, voulez-vous le remplacer ?") /* 19 */ \
    X(LANG_TEXTURE_FILE_NOT_FOUND, "Impossible de charger l'image %s. L'application va maintenant terminer.") /* 20 */ \
    X(LANG_TEXTURE_RES_NOT_FOUND, "Impossible de charger l'image resssource %i. L'application va maintenant terminer.") /* 21 */ \
    X(LANG_TEXTURE_OTHER_NOT_FOUND, "Impossible de charger une image. L'application va maintenant terminer.") /* 22 */ \
    X(LANG_WINDOW_TUTORIAL_WINDOW_PLAYING_TITLE, "Tutorial en cours de chargement") /* 23 */ \
    X(LANG_NETWORK_EVENT_DISCONNECT_HOST_LEFT, "L'hôte a quitté la partie") /* 24 */ \
    X(LANG_NETWORK_EVENT_DISCONNECT_CONNECTION_LOST, "Connection perdu avec l'hote") /* 25 */ \
    X(LANG_ERROR_NO_TCP_IP, "Aucun protocole TCP/IP n'a été dectecté") /* 26 */ \
    X(LANG_ERROR_NETWORK_ALREADY_IN_A_GAME, "Déjà dans une partie réseau.") /* 27 */ \
    X(LANG_ERROR_NOT_IN_A_GAME, "ERROR_NOT_IN_A_GAME") /* 28 */ \
    X(LANG_ERROR_NOT_HOSTING_THE_GAME, "ERROR_NOT_HOSTING_THE_GAME") /* 29 */ \
    X(LANG_ERROR_ALREADY_IN_A_GAME, "ERROR_ALREADY_IN_A_GAME") /* 30 */ \
    X(LANG_ERROR_NETWORK_INVALID_HOST_ADRESS, "Nom d'hôte incorrect.") /* 31 */ \
    X(LANG_ERRORCODE_UNKNOWN, "Code d'erreur inconnu") /* 32 */ \
    X(LANG_ERROR_OK, "Aucune erreur") /* 33 */ \
    X(LANG_ERROR_INVALID, "Appel ou paramètre invalide") /* 34 */ \
    X(LANG_ERROR_FAILED, "La fonction a échouée pour une raison non spécifiée.") /* 35 */ \
    X(LANG_ERROR_D3D, "Erreur Direct3D") /* 36 */ \
    X(LANG_ERROR_DSOUND, "Erreur DirectSound") /* 37 */ \
    X(LANG_ERROR_DSHOW, "Erreur DirectShow") /* 38 */ \
    X(LANG_ERROR_DPLAY, "Erreur DirectPlay") /* 39 */ \
    X(LANG_ERROR_VIDEOCARDINCOMPATIBLE, "Votre carte vidéo ne remplit pas les conditions minimales requises pour être utilisée avec cette application.") /* 40 */ \
    X(LANG_ERROR_NO_FLASH, "Vous devez disposer de la version 8 ou supérieure de l'activeX Flash pour utiliser cette application.") /* 41 */ \
    X(LANG_ERROR_VIDEO_CODEC_UNAVAILABLE, "Vous ne disposez pas des codecs vidéos nécessaires pour lire la vidéo.") /* 42 */ \
    X(LANG_ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE, "Vous devez disposer des codecs Window Media Video 9 ou supérieur pour utiliser cette application.") /* 43 */ \
    X(LANG_ERROR_FILENOTFOUND, "Fichier non trouvé") /* 44 */ \
    X(LANG_ERROR_TEXTURE_NOT_POWER_OF_2, "La taille de la texture n'est pas une puissance de deux") /* 45 */ \
    X(LANG_ERROR_FILEIO_INVALIDFILE, "I/O : Fichier invalide") /* 46 */ \
    X(LANG_ERROR_FILEIO_READERROR, "I/O : Erreur de lecture") /* 47 */ \
    X(LANG_ERROR_FILEIO_WRITEERROR, "I/O : Erreur d'écriture") /* 48 */ \
    X(LANG_ERROR_FILEIO_COPYFILEERROR, "I/O : Erreur de copie de fichier") /* 49 */ \
    X(LANG_ERROR_FILEIO_FILENOTFOUND, "I/O : Fichier non trouvé") /* 50 */ \
    X(LANG_ERROR_FILEIO_ALREADY_OPEN, "I/O : Fichier deja ouvert") /* 51 */ \
    X(LANG_ERROR_FILEIO_EOF, "I/O : Fin de fichier") /* 52 */ \
    X(LANG_ERROR_NO_SKINS, "Pas de skins trouvés") /* 53 */ \
    X(LANG_ERROR_RESSOURCENOTFOUND, "Ressource non trouvée") /* 54 */ \
    X(LANG_ERROR_STOP_RENDERING, "Rendu interrompu") /* 55 */ \
    X(LANG_ERROR_NOT_YET_IMPLEMENTED, "Non implémenté") /* 56 */ \
    X(LANG_ERROR_XML_PARSING_ROOT_MUST_BE_BALISE, "La racine doit etre une balise") /* 57 */ \
    X(LANG_ERROR_XML_PARSING_INVALID_CARACTER, "Caractère innatendu") /* 58 */ \
    X(LANG_ERROR_DOM_INTERPRETING, "Erreur lors de l'interpretation de l'arbre DOM") /* 59 */ \
    X(LANG_ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT, "Ce contenu de balise devrait être un texte") /* 60 */ \
    X(LANG_WINDOW_SCORE_TITLE, "Scores") /* 61 */ \
    X(LANG_WINDOW_SCORE_RESET, "Réinitialiser") /* 62 */ \
    X(LANG_WINDOW_SCORE_RESET_MSGBOX_TITLE, "Réinitialiser les scores") /* 63 */ \
    X(LANG_WINDOW_SCORE_RESET_MSGBOX_TEXT, "Attention, tous les scores seront perdus, êtes vous sûr de vouloir les réinitialiser ?") /* 64 */ \
    X(LANG_KEY_NONE, "Aucune") /* 65 */ \
    X(LANG_KEY_SPACE, "Espace") /* 66 */ \
    X(LANG_KEY_NUMPAD_0, "0 (Pavé num.)") /* 67 */ \
    X(LANG_KEY_NUMPAD_1, "1 (Pavé num.)") /* 68 */ \
    X(LANG_KEY_NUMPAD_2, "2 (Pavé num.)") /* 69 */ \
    X(LANG_KEY_NUMPAD_3, "3 (Pavé num.)") /* 70 */ \
    X(LANG_KEY_NUMPAD_4, "4 (Pavé num.)") /* 71 */ \
    X(LANG_KEY_NUMPAD_5, "5 (Pavé num.)") /* 72 */ \
    X(LANG_KEY_NUMPAD_6, "6 (Pavé num.)") /* 73 */ \
    X(LANG_KEY_NUMPAD_7, "7 (Pavé num.)") /* 74 */ \
    X(LANG_KEY_NUMPAD_8, "8 (Pavé num.)") /* 75 */ \
    X(LANG_KEY_NUMPAD_9, "9 (Pavé num.)") /* 76 */ \
    X(LANG_KEY_NUMBER_0, "0") /* 77 */ \
    X(LANG_KEY_NUMBER_1, "1") /* 78 */ \
    X(LANG_KEY_NUMBER_2, "2") /* 79 */ \
    X(LANG_KEY_NUMBER_3, "3") /* 80 */ \
    X(LANG_KEY_NUMBER_4, "4") /* 81 */ \
    X(LANG_KEY_NUMBER_5, "5") /* 82 */ \
    X(LANG_KEY_NUMBER_6, "6") /* 83 */ \
    X(LANG_KEY_NUMBER_7, "7") /* 84 */ \
    X(LANG_KEY_NUMBER_8, "8") /* 85 */ \
    X(LANG_KEY_NUMBER_9, "9") /* 86 */ \
    X(LANG_KEY_A, "A") /* 87 */ \
    X(LANG_KEY_B, "B") /* 88 */ \
    X(LANG_KEY_C, "C") /* 89 */ \
    X(LANG_KEY_D, "D") /* 90 */ \
    X(LANG_KEY_E, "E") /* 91 */ \
    X(LANG_KEY_F, "F") /* 92 */ \
    X(LANG_KEY_G, "G") /* 93 */ \
    X(LANG_KEY_H, "H") /* 94 */ \
    X(LANG_KEY_I, "I") /* 95 */ \
    X(LANG_KEY_J, "J") /* 96 */ \
    X(LANG_KEY_K, "K") /* 97 */ \
    X(LANG_KEY_L, "L") /* 98 */ \
    X(LANG_KEY_M, "M") /* 99 */ \
    X(LANG_KEY_N, "N") /* 100 */ \
    X(LANG_KEY_O, "O") /* 101 */ \
    X(LANG_KEY_P, "P") /* 102 */ \
    X(LANG_KEY_Q, "Q") /* 103 */ \
    X(LANG_KEY_R, "R") /* 104 */ \
    X(LANG_KEY_S, "S") /* 105 */ \
    X(LANG_KEY_T, "T") /* 106 */ \
    X(LANG_KEY_U, "U") /* 107 */ \
    X(LANG_KEY_V, "V") /* 108 */ \
    X(LANG_KEY_W, "W") /* 109 */ \
    X(LANG_KEY_X, "X") /* 110 */ \
    X(LANG_KEY_Y, "Y") /* 111 */ \
    X(LANG_KEY_Z, "Z") /* 112 */ \
    X(LANG_KEY_LEFT, "Flèche gauche") /* 113 */ \
    X(LANG_KEY_RIGHT, "Flèche droite") /* 114 */ \
    X(LANG_KEY_UP, "Flèche haut") /* 115 */ \
    X(LANG_KEY_DOWN, "Flèche bas") /* 116 */ \
    X(LANG_KEY_DELETE, "Suppr") /* 117 */ \
    X(LANG_KEY_BACKSPACE, "Backspace") /* 118 */ \
    X(LANG_KEY_NUMPAD_ENTER, "Entrée (Pavé num.)") /* 119 */ \
    X(LANG_KEY_HOME, "Début") /* 120 */ \
    X(LANG_KEY_END, "Fin") /* 121 */ \
    X(LANG_KEY_TAB, "Tabulation") /* 122 */ \
    X(LANG_KEY_ENTER, "Entrée") /* 123 */ \
    X(LANG_KEY_PAGEUP, "Page préc.") /* 124 */ \
    X(LANG_KEY_PAGEDOWN, "Page suiv.") /* 125 */ \
    X(LANG_KEY_PLUS, "Plus") /* 126 */ \
    X(LANG_KEY_MINUS, "Moins") /* 127 */ \
    X(LANG_KEY_LCTRL, "Control gauche") /* 128 */ \
    X(LANG_KEY_RCTRL, "Control droite") /* 129 */ \
    X(LANG_KEY_LALT, "Alt gauche") /* 130 */ \
    X(LANG_KEY_RALT, "Alt droite") /* 131 */ \
    X(LANG_KEY_LSHIFT, "Maj gauche") /* 132 */ \
    X(LANG_KEY_RSHIFT, "Maj droite") /* 133 */ \
    X(LANG_KEY_ESCAPE, "Echap") /* 134 */ \
    X(LANG_KEY_F1, "F1") /* 135 */ \
    X(LANG_KEY_F2, "F2") /* 136 */ \
    X(LANG_KEY_F3, "F3") /* 137 */ \
    X(LANG_KEY_F4, "F4") /* 138 */ \
    X(LANG_KEY_F5, "F5") /* 139 */ \
    X(LANG_KEY_F6, "F6") /* 140 */ \
    X(LANG_KEY_F7, "F7") /* 141 */ \
    X(LANG_KEY_F8, "F8") /* 142 */ \
    X(LANG_KEY_F9, "F9") /* 143 */ \
    X(LANG_KEY_F10, "F10") /* 144 */ \
    X(LANG_KEY_F11, "F11") /* 145 */ \
    X(LANG_KEY_F12, "F12") /* 146 */ \
    X(LANG_KEY_SCROLL_LOCK, "Arrêt defil") /* 147 */ \
    X(LANG_KEY_LWINDOWS, "Windows gauche") /* 148 */ \
    X(LANG_KEY_RWINDOWS, "Windows droite") /* 149 */ \
    X(LANG_KEY_PAUSE, "Pause") /* 150 */ \
    X(LANG_KEY_PRINTSCREEN, "Impr. écran") /* 151 */ \
    X(LANG_KEY_INSERT, "Insert") /* 152 */ \
    X(LANG_KEY_NUMLOCK, "Verr. num.") /* 153 */ \
    X(LANG_KEY_DIVIDE, "Diviser") /* 154 */ \
    X(LANG_KEY_MULTIPLY, "Multiplier") /* 155 */ \
    X(LANG_KEY_NUMPAD_DOT, ". (Pavé num.)") /* 156 */ \
    X(LANG_KEY_SEPARATOR, "Separator") /* 157 */ \
    X(LANG_KEY_CAPSLOCK, "Verr. maj.") /* 158 */
// clang-format on
