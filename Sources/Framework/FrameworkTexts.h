#pragma once
// The framework's language entries, ids 0 to 158 in id order: key and the
// built-in French text (written in UTF-8, made Windows-1252 by TEXT_1252).
// Ids 65 to 158 are the display names of key ids 0 to 93.

#include "Framework/Text1252Literal.h"

// clang-format off
#define VELMORIQUE_FRAMEWORK_TEXTS(X) \
    X(LANG_ERROR, TEXT_1252("Erreur")) /* 0 */ \
    X(LANG_MAPI32NOTFOUD, TEXT_1252("MAPI32.DLL n'a pas été trouvée. La fonction mail sera donc désactivée.")) /* 1 */ \
    X(LANG_RENDERINGERROR, TEXT_1252("Erreur de rendu. L'application va maintenant se terminer.")) /* 2 */ \
    X(LANG_NODIRECT3D, TEXT_1252("Impossible d'initialiser Direct3D. Vérifiez que la dernière version de DirectX est bien installé sur votre ordinateur.")) /* 3 */ \
    X(LANG_OUT_OF_VIDEO_MEMORY, TEXT_1252("Pas assez de mémoire vidéo.")) /* 4 */ \
    X(LANG_OUT_OF_MEMORY, TEXT_1252("Pas de mémoire")) /* 5 */ \
    X(LANG_NO_SOUND_CARD, TEXT_1252("Impossible de lancer l'application car vous ne disposez pas de carte son ou vos drivers de carte son ne sont pas installés.\nInstallez une carte son avec ses drivers pour remedier à ce problème.")) /* 6 */ \
    X(LANG_FATAL_ERROR, TEXT_1252("Erreure fatale %s : %s")) /* 7 */ \
    X(LANG_INFORMATION, TEXT_1252("Information")) /* 8 */ \
    X(LANG_ERROR_STRING, TEXT_1252("Erreur %s")) /* 9 */ \
    X(LANG_BUTTON_CAPTION_OK, TEXT_1252("OK")) /* 10 */ \
    X(LANG_BUTTON_CAPTION_YES, TEXT_1252("Oui")) /* 11 */ \
    X(LANG_BUTTON_CAPTION_NO, TEXT_1252("Non")) /* 12 */ \
    X(LANG_BUTTON_CAPTION_CANCEL, TEXT_1252("Annuler")) /* 13 */ \
    X(LANG_FILENOTFOUND, TEXT_1252("Fichier Inexistant")) /* 14 */ \
    X(LANG_WARNING, TEXT_1252("Attention")) /* 15 */ \
    X(LANG_FILES_FILTER_TEXT, TEXT_1252("Filtre :")) /* 16 */ \
    X(LANG_FILES_DIRECTORY_TEXT, TEXT_1252("Dossier :")) /* 17 */ \
    X(LANG_FILES_FILE_TEXT, TEXT_1252("Fichier :")) /* 18 */ \
    X(LANG_ASK_FOR_REPLACEMENT, TEXT_1252("Ce fichier existe déjà, voulez-vous le remplacer ?")) /* 19 */ \
    X(LANG_TEXTURE_FILE_NOT_FOUND, TEXT_1252("Impossible de charger l'image %s. L'application va maintenant terminer.")) /* 20 */ \
    X(LANG_TEXTURE_RES_NOT_FOUND, TEXT_1252("Impossible de charger l'image resssource %i. L'application va maintenant terminer.")) /* 21 */ \
    X(LANG_TEXTURE_OTHER_NOT_FOUND, TEXT_1252("Impossible de charger une image. L'application va maintenant terminer.")) /* 22 */ \
    X(LANG_WINDOW_TUTORIAL_WINDOW_PLAYING_TITLE, TEXT_1252("Tutorial en cours de chargement")) /* 23 */ \
    X(LANG_NETWORK_EVENT_DISCONNECT_HOST_LEFT, TEXT_1252("L'hôte a quitté la partie")) /* 24 */ \
    X(LANG_NETWORK_EVENT_DISCONNECT_CONNECTION_LOST, TEXT_1252("Connection perdu avec l'hote")) /* 25 */ \
    X(LANG_ERROR_NO_TCP_IP, TEXT_1252("Aucun protocole TCP/IP n'a été dectecté")) /* 26 */ \
    X(LANG_ERROR_NETWORK_ALREADY_IN_A_GAME, TEXT_1252("Déjà dans une partie réseau.")) /* 27 */ \
    X(LANG_ERROR_NOT_IN_A_GAME, TEXT_1252("ERROR_NOT_IN_A_GAME")) /* 28 */ \
    X(LANG_ERROR_NOT_HOSTING_THE_GAME, TEXT_1252("ERROR_NOT_HOSTING_THE_GAME")) /* 29 */ \
    X(LANG_ERROR_ALREADY_IN_A_GAME, TEXT_1252("ERROR_ALREADY_IN_A_GAME")) /* 30 */ \
    X(LANG_ERROR_NETWORK_INVALID_HOST_ADRESS, TEXT_1252("Nom d'hôte incorrect.")) /* 31 */ \
    X(LANG_ERRORCODE_UNKNOWN, TEXT_1252("Code d'erreur inconnu")) /* 32 */ \
    X(LANG_ERROR_OK, TEXT_1252("Aucune erreur")) /* 33 */ \
    X(LANG_ERROR_INVALID, TEXT_1252("Appel ou paramètre invalide")) /* 34 */ \
    X(LANG_ERROR_FAILED, TEXT_1252("La fonction a échouée pour une raison non spécifiée.")) /* 35 */ \
    X(LANG_ERROR_D3D, TEXT_1252("Erreur Direct3D")) /* 36 */ \
    X(LANG_ERROR_DSOUND, TEXT_1252("Erreur DirectSound")) /* 37 */ \
    X(LANG_ERROR_DSHOW, TEXT_1252("Erreur DirectShow")) /* 38 */ \
    X(LANG_ERROR_DPLAY, TEXT_1252("Erreur DirectPlay")) /* 39 */ \
    X(LANG_ERROR_VIDEOCARDINCOMPATIBLE, TEXT_1252("Votre carte vidéo ne remplit pas les conditions minimales requises pour être utilisée avec cette application.")) /* 40 */ \
    X(LANG_ERROR_NO_FLASH, TEXT_1252("Vous devez disposer de la version 8 ou supérieure de l'activeX Flash pour utiliser cette application.")) /* 41 */ \
    X(LANG_ERROR_VIDEO_CODEC_UNAVAILABLE, TEXT_1252("Vous ne disposez pas des codecs vidéos nécessaires pour lire la vidéo.")) /* 42 */ \
    X(LANG_ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE, TEXT_1252("Vous devez disposer des codecs Window Media Video 9 ou supérieur pour utiliser cette application.")) /* 43 */ \
    X(LANG_ERROR_FILENOTFOUND, TEXT_1252("Fichier non trouvé")) /* 44 */ \
    X(LANG_ERROR_TEXTURE_NOT_POWER_OF_2, TEXT_1252("La taille de la texture n'est pas une puissance de deux")) /* 45 */ \
    X(LANG_ERROR_FILEIO_INVALIDFILE, TEXT_1252("I/O : Fichier invalide")) /* 46 */ \
    X(LANG_ERROR_FILEIO_READERROR, TEXT_1252("I/O : Erreur de lecture")) /* 47 */ \
    X(LANG_ERROR_FILEIO_WRITEERROR, TEXT_1252("I/O : Erreur d'écriture")) /* 48 */ \
    X(LANG_ERROR_FILEIO_COPYFILEERROR, TEXT_1252("I/O : Erreur de copie de fichier")) /* 49 */ \
    X(LANG_ERROR_FILEIO_FILENOTFOUND, TEXT_1252("I/O : Fichier non trouvé")) /* 50 */ \
    X(LANG_ERROR_FILEIO_ALREADY_OPEN, TEXT_1252("I/O : Fichier deja ouvert")) /* 51 */ \
    X(LANG_ERROR_FILEIO_EOF, TEXT_1252("I/O : Fin de fichier")) /* 52 */ \
    X(LANG_ERROR_NO_SKINS, TEXT_1252("Pas de skins trouvés")) /* 53 */ \
    X(LANG_ERROR_RESSOURCENOTFOUND, TEXT_1252("Ressource non trouvée")) /* 54 */ \
    X(LANG_ERROR_STOP_RENDERING, TEXT_1252("Rendu interrompu")) /* 55 */ \
    X(LANG_ERROR_NOT_YET_IMPLEMENTED, TEXT_1252("Non implémenté")) /* 56 */ \
    X(LANG_ERROR_XML_PARSING_ROOT_MUST_BE_BALISE, TEXT_1252("La racine doit etre une balise")) /* 57 */ \
    X(LANG_ERROR_XML_PARSING_INVALID_CARACTER, TEXT_1252("Caractère innatendu")) /* 58 */ \
    X(LANG_ERROR_DOM_INTERPRETING, TEXT_1252("Erreur lors de l'interpretation de l'arbre DOM")) /* 59 */ \
    X(LANG_ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT, TEXT_1252("Ce contenu de balise devrait être un texte")) /* 60 */ \
    X(LANG_WINDOW_SCORE_TITLE, TEXT_1252("Scores")) /* 61 */ \
    X(LANG_WINDOW_SCORE_RESET, TEXT_1252("Réinitialiser")) /* 62 */ \
    X(LANG_WINDOW_SCORE_RESET_MSGBOX_TITLE, TEXT_1252("Réinitialiser les scores")) /* 63 */ \
    X(LANG_WINDOW_SCORE_RESET_MSGBOX_TEXT, TEXT_1252("Attention, tous les scores seront perdus, êtes vous sûr de vouloir les réinitialiser ?")) /* 64 */ \
    X(LANG_KEY_NONE, TEXT_1252("Aucune")) /* 65 */ \
    X(LANG_KEY_SPACE, TEXT_1252("Espace")) /* 66 */ \
    X(LANG_KEY_NUMPAD_0, TEXT_1252("0 (Pavé num.)")) /* 67 */ \
    X(LANG_KEY_NUMPAD_1, TEXT_1252("1 (Pavé num.)")) /* 68 */ \
    X(LANG_KEY_NUMPAD_2, TEXT_1252("2 (Pavé num.)")) /* 69 */ \
    X(LANG_KEY_NUMPAD_3, TEXT_1252("3 (Pavé num.)")) /* 70 */ \
    X(LANG_KEY_NUMPAD_4, TEXT_1252("4 (Pavé num.)")) /* 71 */ \
    X(LANG_KEY_NUMPAD_5, TEXT_1252("5 (Pavé num.)")) /* 72 */ \
    X(LANG_KEY_NUMPAD_6, TEXT_1252("6 (Pavé num.)")) /* 73 */ \
    X(LANG_KEY_NUMPAD_7, TEXT_1252("7 (Pavé num.)")) /* 74 */ \
    X(LANG_KEY_NUMPAD_8, TEXT_1252("8 (Pavé num.)")) /* 75 */ \
    X(LANG_KEY_NUMPAD_9, TEXT_1252("9 (Pavé num.)")) /* 76 */ \
    X(LANG_KEY_NUMBER_0, TEXT_1252("0")) /* 77 */ \
    X(LANG_KEY_NUMBER_1, TEXT_1252("1")) /* 78 */ \
    X(LANG_KEY_NUMBER_2, TEXT_1252("2")) /* 79 */ \
    X(LANG_KEY_NUMBER_3, TEXT_1252("3")) /* 80 */ \
    X(LANG_KEY_NUMBER_4, TEXT_1252("4")) /* 81 */ \
    X(LANG_KEY_NUMBER_5, TEXT_1252("5")) /* 82 */ \
    X(LANG_KEY_NUMBER_6, TEXT_1252("6")) /* 83 */ \
    X(LANG_KEY_NUMBER_7, TEXT_1252("7")) /* 84 */ \
    X(LANG_KEY_NUMBER_8, TEXT_1252("8")) /* 85 */ \
    X(LANG_KEY_NUMBER_9, TEXT_1252("9")) /* 86 */ \
    X(LANG_KEY_A, TEXT_1252("A")) /* 87 */ \
    X(LANG_KEY_B, TEXT_1252("B")) /* 88 */ \
    X(LANG_KEY_C, TEXT_1252("C")) /* 89 */ \
    X(LANG_KEY_D, TEXT_1252("D")) /* 90 */ \
    X(LANG_KEY_E, TEXT_1252("E")) /* 91 */ \
    X(LANG_KEY_F, TEXT_1252("F")) /* 92 */ \
    X(LANG_KEY_G, TEXT_1252("G")) /* 93 */ \
    X(LANG_KEY_H, TEXT_1252("H")) /* 94 */ \
    X(LANG_KEY_I, TEXT_1252("I")) /* 95 */ \
    X(LANG_KEY_J, TEXT_1252("J")) /* 96 */ \
    X(LANG_KEY_K, TEXT_1252("K")) /* 97 */ \
    X(LANG_KEY_L, TEXT_1252("L")) /* 98 */ \
    X(LANG_KEY_M, TEXT_1252("M")) /* 99 */ \
    X(LANG_KEY_N, TEXT_1252("N")) /* 100 */ \
    X(LANG_KEY_O, TEXT_1252("O")) /* 101 */ \
    X(LANG_KEY_P, TEXT_1252("P")) /* 102 */ \
    X(LANG_KEY_Q, TEXT_1252("Q")) /* 103 */ \
    X(LANG_KEY_R, TEXT_1252("R")) /* 104 */ \
    X(LANG_KEY_S, TEXT_1252("S")) /* 105 */ \
    X(LANG_KEY_T, TEXT_1252("T")) /* 106 */ \
    X(LANG_KEY_U, TEXT_1252("U")) /* 107 */ \
    X(LANG_KEY_V, TEXT_1252("V")) /* 108 */ \
    X(LANG_KEY_W, TEXT_1252("W")) /* 109 */ \
    X(LANG_KEY_X, TEXT_1252("X")) /* 110 */ \
    X(LANG_KEY_Y, TEXT_1252("Y")) /* 111 */ \
    X(LANG_KEY_Z, TEXT_1252("Z")) /* 112 */ \
    X(LANG_KEY_LEFT, TEXT_1252("Flèche gauche")) /* 113 */ \
    X(LANG_KEY_RIGHT, TEXT_1252("Flèche droite")) /* 114 */ \
    X(LANG_KEY_UP, TEXT_1252("Flèche haut")) /* 115 */ \
    X(LANG_KEY_DOWN, TEXT_1252("Flèche bas")) /* 116 */ \
    X(LANG_KEY_DELETE, TEXT_1252("Suppr")) /* 117 */ \
    X(LANG_KEY_BACKSPACE, TEXT_1252("Backspace")) /* 118 */ \
    X(LANG_KEY_NUMPAD_ENTER, TEXT_1252("Entrée (Pavé num.)")) /* 119 */ \
    X(LANG_KEY_HOME, TEXT_1252("Début")) /* 120 */ \
    X(LANG_KEY_END, TEXT_1252("Fin")) /* 121 */ \
    X(LANG_KEY_TAB, TEXT_1252("Tabulation")) /* 122 */ \
    X(LANG_KEY_ENTER, TEXT_1252("Entrée")) /* 123 */ \
    X(LANG_KEY_PAGEUP, TEXT_1252("Page préc.")) /* 124 */ \
    X(LANG_KEY_PAGEDOWN, TEXT_1252("Page suiv.")) /* 125 */ \
    X(LANG_KEY_PLUS, TEXT_1252("Plus")) /* 126 */ \
    X(LANG_KEY_MINUS, TEXT_1252("Moins")) /* 127 */ \
    X(LANG_KEY_LCTRL, TEXT_1252("Control gauche")) /* 128 */ \
    X(LANG_KEY_RCTRL, TEXT_1252("Control droite")) /* 129 */ \
    X(LANG_KEY_LALT, TEXT_1252("Alt gauche")) /* 130 */ \
    X(LANG_KEY_RALT, TEXT_1252("Alt droite")) /* 131 */ \
    X(LANG_KEY_LSHIFT, TEXT_1252("Maj gauche")) /* 132 */ \
    X(LANG_KEY_RSHIFT, TEXT_1252("Maj droite")) /* 133 */ \
    X(LANG_KEY_ESCAPE, TEXT_1252("Echap")) /* 134 */ \
    X(LANG_KEY_F1, TEXT_1252("F1")) /* 135 */ \
    X(LANG_KEY_F2, TEXT_1252("F2")) /* 136 */ \
    X(LANG_KEY_F3, TEXT_1252("F3")) /* 137 */ \
    X(LANG_KEY_F4, TEXT_1252("F4")) /* 138 */ \
    X(LANG_KEY_F5, TEXT_1252("F5")) /* 139 */ \
    X(LANG_KEY_F6, TEXT_1252("F6")) /* 140 */ \
    X(LANG_KEY_F7, TEXT_1252("F7")) /* 141 */ \
    X(LANG_KEY_F8, TEXT_1252("F8")) /* 142 */ \
    X(LANG_KEY_F9, TEXT_1252("F9")) /* 143 */ \
    X(LANG_KEY_F10, TEXT_1252("F10")) /* 144 */ \
    X(LANG_KEY_F11, TEXT_1252("F11")) /* 145 */ \
    X(LANG_KEY_F12, TEXT_1252("F12")) /* 146 */ \
    X(LANG_KEY_SCROLL_LOCK, TEXT_1252("Arrêt defil")) /* 147 */ \
    X(LANG_KEY_LWINDOWS, TEXT_1252("Windows gauche")) /* 148 */ \
    X(LANG_KEY_RWINDOWS, TEXT_1252("Windows droite")) /* 149 */ \
    X(LANG_KEY_PAUSE, TEXT_1252("Pause")) /* 150 */ \
    X(LANG_KEY_PRINTSCREEN, TEXT_1252("Impr. écran")) /* 151 */ \
    X(LANG_KEY_INSERT, TEXT_1252("Insert")) /* 152 */ \
    X(LANG_KEY_NUMLOCK, TEXT_1252("Verr. num.")) /* 153 */ \
    X(LANG_KEY_DIVIDE, TEXT_1252("Diviser")) /* 154 */ \
    X(LANG_KEY_MULTIPLY, TEXT_1252("Multiplier")) /* 155 */ \
    X(LANG_KEY_NUMPAD_DOT, TEXT_1252(". (Pavé num.)")) /* 156 */ \
    X(LANG_KEY_SEPARATOR, TEXT_1252("Separator")) /* 157 */ \
    X(LANG_KEY_CAPSLOCK, TEXT_1252("Verr. maj.")) /* 158 */
// clang-format on
