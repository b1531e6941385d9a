#pragma once
// The game's language entries, ids 159 to 330: id, key and the built-in
// French text (written in UTF-8, made Windows-1252 by TEXT_1252). Ids 328 and
// 329 are not used. A text that ends with a blank keeps it.

#include "Framework/Text1252Literal.h"

// clang-format off
#define VELMORIQUE_GAME_TEXTS(X) \
    X(159, LANG_WINDOW_WIN_TITLE, TEXT_1252("Fin de partie")) \
    X(160, LANG_WINDOW_WIN_WHITE, TEXT_1252("Le joueur blanc a gagné la partie !")) \
    X(161, LANG_WINDOW_WIN_BLACK, TEXT_1252("Le joueur noir a gagné la partie !")) \
    X(162, LANG_WINDOW_WIN_COMPUTER, TEXT_1252("L'ordinateur a remporté la partie !")) \
    X(163, LANG_WINDOW_WIN_YOU, TEXT_1252("Vous avez remporté la partie !")) \
    X(164, LANG_WINDOW_WIN_ADVERS, TEXT_1252("Votre adversaire a remporté la partie !")) \
    X(165, LANG_WINDOW_WIN_ENTER_NICK, TEXT_1252("C'est un nouveau record ! Veuillez entrer votre pseudo :")) \
    X(166, LANG_WINDOW_OPTION_TITLE, TEXT_1252("Options")) \
    X(167, LANG_WINDOW_OPTION_ENABLE_SOUNDS, TEXT_1252("Bruitages")) \
    X(168, LANG_WINDOW_OPTION_ENABLE_SOUNDS_INFOTIP, TEXT_1252("Permet d'activer ou de désactiver les effets sonores.")) \
    X(169, LANG_SOUND_VOLUME, TEXT_1252("Niveau sonore :")) \
    X(170, LANG_WINDOW_OPTION_ENABLE_MUSIC, TEXT_1252("Musique")) \
    X(171, LANG_WINDOW_OPTION_ENABLE_MUSIC_INFOTIP, TEXT_1252("Permet d'activer ou de désactiver la musique.")) \
    X(172, LANG_MUSIC_VOLUME, TEXT_1252("Niveau musique :")) \
    X(173, LANG_WINDOW_OPTION_LOGO_INTRO, TEXT_1252("Logo Introduction")) \
    X(174, LANG_WINDOW_OPTION_LOGO_INTRO_INFOTIP, TEXT_1252("Voir les logos au démarrage du jeu.")) \
    X(175, LANG_WINDOW_OPTION_TUTORIAL_INTRO, TEXT_1252("Tutorial Introduction")) \
    X(176, LANG_WINDOW_OPTION_TUTORIAL_INTRO_INFOTIP, TEXT_1252("Voir le tutorial en introduction au démarrage du jeu.")) \
    X(177, LANG_WINDOW_OPTION_ENABLE_INFOTIP, TEXT_1252("Infobulles")) \
    X(178, LANG_WINDOW_OPTION_ENABLE_INFOTIP_INFOTIP, TEXT_1252("Active / désactive les aides contextuelles associées au boutons et autres.")) \
    X(179, LANG_WINDOW_OPTION_VIEW_INTRO_AGAIN, TEXT_1252("Revoir tutorial")) \
    X(180, LANG_WINDOW_OPTION_VIEW_INTRO_AGAIN_INFOTIP, TEXT_1252("Revoir la vidéo d'introduction.")) \
    X(181, LANG_WINDOW_OPTION_PION_MODEL, TEXT_1252("Modèle de pions : ")) \
    X(182, LANG_WINDOW_MENU_TITLE, TEXT_1252("Velmorique")) \
    X(183, LANG_WINDOW_MENU_NEW_GAME_TUTORIAL, TEXT_1252("Tutorial")) \
    X(184, LANG_WINDOW_MENU_NEW_GAME_TUTORIAL_INFOTIP, TEXT_1252("Jouer au didacticiel pour apprendre les règles du jeu.")) \
    X(185, LANG_WINDOW_MENU_NEW_GAME_SOLO, TEXT_1252("Partie solo")) \
    X(186, LANG_WINDOW_MENU_NEW_GAME_SOLO_INFOTIP, TEXT_1252("Joue une partie contre l'ordinateur ou un joueur humain sur le même ordinateur.")) \
    X(187, LANG_WINDOW_MENU_NEW_GAME_MULTI, TEXT_1252("Partie multijoueur")) \
    X(188, LANG_WINDOW_MENU_NEW_GAME_MULTI_INFOTIP, TEXT_1252("Joue une partie en réseau local ou internet.")) \
    X(189, LANG_WINDOW_MENU_LOAD_GAME, TEXT_1252("Charger une partie")) \
    X(190, LANG_WINDOW_MENU_LOAD_GAME_INFOTIP, TEXT_1252("Reprendre une partie précedemment enregistrée.")) \
    X(191, LANG_WINDOW_MENU_SAVE_GAME, TEXT_1252("Sauver la partie")) \
    X(192, LANG_WINDOW_MENU_SAVE_GAME_INFOTIP, TEXT_1252("Sauvegarde la partie en cours pour la continuer ultérieurement.")) \
    X(193, LANG_WINDOW_MENU_OPTIONS, TEXT_1252("Options")) \
    X(194, LANG_WINDOW_MENU_OPTIONS_INFOTIP, TEXT_1252("Accède au panneau de réglage des options du jeu.")) \
    X(195, LANG_WINDOW_MENU_SCORES, TEXT_1252("Scores")) \
    X(196, LANG_WINDOW_MENU_SCORES_INFOTIP, TEXT_1252("Affiche les records des meilleurs joueurs.")) \
    X(197, LANG_WINDOW_MENU_HELP, TEXT_1252("Aide")) \
    X(198, LANG_WINDOW_MENU_HELP_INFOTIP, TEXT_1252("Affiche les règles du jeu.")) \
    X(199, LANG_WINDOW_MENU_QUIT, TEXT_1252("Quitter")) \
    X(200, LANG_WINDOW_MENU_QUIT_INFOTIP, TEXT_1252("Quitte le jeu et retourne sous Windows.")) \
    X(201, LANG_WINDOW_MENU_ABORT, TEXT_1252("Abandonner")) \
    X(202, LANG_WINDOW_MENU_ABORT_INFOTIP, TEXT_1252("Abandonne la partie et retourne au menu principal.")) \
    X(203, LANG_WINDOW_MENU_CONTINUE, TEXT_1252("Reprendre")) \
    X(204, LANG_WINDOW_MENU_CONTINUE_INFOTIP, TEXT_1252("Reprend la partie en cours.")) \
    X(205, LANG_WINDOWASKTUTORIAL_TITLE, TEXT_1252("Tutorial")) \
    X(206, LANG_WINDOWASKTUTORIAL_TEXT, TEXT_1252("Il s'agit de votre première partie. Désirez-vous suivre le tutorial ?")) \
    X(207, LANG_WINDOW_NEW_GAME_TITLE, TEXT_1252("Nouvelle partie")) \
    X(208, LANG_WINDOW_NEW_GAME_LABEL_WHITE, TEXT_1252("Blanc")) \
    X(209, LANG_WINDOW_NEW_GAME_LABEL_BLACK, TEXT_1252("Noir")) \
    X(210, LANG_TURN_OF_PLAYER_0, TEXT_1252("Tour : Blanc")) \
    X(211, LANG_TURN_OF_PLAYER_1, TEXT_1252("Tour : Noir")) \
    X(212, LANG_WINDOW_NEW_GAME_HUMAN, TEXT_1252("Humain")) \
    X(213, LANG_WINDOW_NEW_GAME_COMPUTER, TEXT_1252("Ordinateur")) \
    X(214, LANG_WINDOW_NEW_GAME_DIFF_EASY, TEXT_1252("Facile")) \
    X(215, LANG_WINDOW_NEW_GAME_DIFF_MEDIUM, TEXT_1252("Moyen")) \
    X(216, LANG_WINDOW_NEW_GAME_DIFF_HARD, TEXT_1252("Difficile")) \
    X(217, LANG_COMBO_DIFFICULTY_LABEL, TEXT_1252("Difficulté :")) \
    X(218, LANG_BOARD3D_BUTTON_0, TEXT_1252("Changer le point de vue de la caméra.")) \
    X(219, LANG_BOARD3D_BUTTON_1, TEXT_1252("Obtenir de l'aide (conseil coup suivant).")) \
    X(220, LANG_BOARD3D_BUTTON_2, TEXT_1252("Annuler le mouvement précédent.")) \
    X(221, LANG_BOARD3D_BUTTON_3, TEXT_1252("Afficher le menu.")) \
    X(222, LANG_BOARD3D_BUTTON_4, TEXT_1252("Afficher la fenêtre de chat.")) \
    X(223, LANG_SAVEGAME_FILTER, TEXT_1252("Sauvergardes de Velmorique")) \
    X(224, LANG_WINDOW_LOAD_GAME_TITLE, TEXT_1252("Charger une partie")) \
    X(225, LANG_WINDOW_LOAD_GAME_ERROR, TEXT_1252("Impossible d'ouvrir la sauvegarde. Elle est probablement corrompue.")) \
    X(226, LANG_WINDOW_SAVE_GAME_TITLE, TEXT_1252("Sauvegarder une partie")) \
    X(227, LANG_WINDOW_SAVE_GAME_ERROR, TEXT_1252("Impossible d'enregister la partie. Vérifiez que Velmorique peut bien écrire des fichiers dans son répertoire.")) \
    X(228, LANG_WINDOW_SCORE_COLUMN_RANK, TEXT_1252("Rang")) \
    X(229, LANG_WINDOW_SCORE_COLUMN_PLAYER, TEXT_1252("Joueur")) \
    X(230, LANG_WINDOW_SCORE_COLUMN_TIME, TEXT_1252("Temps")) \
    X(231, LANG_WINDOW_SCORE_COLUMN_MOVES, TEXT_1252("Coups")) \
    X(232, LANG_WINDOW_SCORE_COLUMN_DIFFICULTY, TEXT_1252("Difficulté")) \
    X(233, LANG_PION_NAME_RAT, TEXT_1252("rat")) \
    X(234, LANG_PION_NAME_CHAT, TEXT_1252("chat")) \
    X(235, LANG_PION_NAME_LOUP, TEXT_1252("loup")) \
    X(236, LANG_PION_NAME_CHIEN, TEXT_1252("chien")) \
    X(237, LANG_PION_NAME_PANTHERE, TEXT_1252("panthère")) \
    X(238, LANG_PION_NAME_TIGRE, TEXT_1252("tigre")) \
    X(239, LANG_PION_NAME_LION, TEXT_1252("lion")) \
    X(240, LANG_PION_NAME_ELEPHANT, TEXT_1252("éléphant")) \
    X(241, LANG_THE_PION_NAME_RAT, TEXT_1252("le rat")) \
    X(242, LANG_THE_PION_NAME_CHAT, TEXT_1252("le chat")) \
    X(243, LANG_THE_PION_NAME_LOUP, TEXT_1252("le loup")) \
    X(244, LANG_THE_PION_NAME_CHIEN, TEXT_1252("le chien")) \
    X(245, LANG_THE_PION_NAME_PANTHERE, TEXT_1252("la panthère")) \
    X(246, LANG_THE_PION_NAME_TIGRE, TEXT_1252("le tigre")) \
    X(247, LANG_THE_PION_NAME_LION, TEXT_1252("le lion")) \
    X(248, LANG_THE_PION_NAME_ELEPHANT, TEXT_1252("l'éléphant")) \
    X(249, LANG_PION_DESC_RAT, TEXT_1252("Le rat est la plus petite créature et il peut être dévoré par toutes les autres pièces du jeu. Il ne peut prendre que le rat adverse et l'éléphant, mais jamais l'éléphant depuis l'eau. Il est aussi le seul animal à pouvoir entrer dans la rivière : caché dans l'eau, il coupe la ligne des sauts du lion et du tigre.")) \
    X(250, LANG_PION_DESC_CHAT, TEXT_1252("Le chat craint l'éléphant, le lion, le tigre, la panthère, le chien, le loup et le chat adverse. Il peut prendre le rat et le chat adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.")) \
    X(251, LANG_PION_DESC_LOUP, TEXT_1252("Le loup craint l'éléphant, le lion, le tigre, la panthère, le chien et le loup adverse. Il peut prendre le rat, le chat et le loup adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.")) \
    X(252, LANG_PION_DESC_CHIEN, TEXT_1252("Le chien craint l'éléphant, le lion, le tigre, la panthère et le chien adverse. Il peut prendre le rat, le chat, le loup et le chien adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.")) \
    X(253, LANG_PION_DESC_PANTHERE, TEXT_1252("La panthère craint l'éléphant, le lion, le tigre et la panthère adverse. Elle peut prendre le rat, le chat, le loup, le chien et la panthère adverse. Elle vient en soutien de la défense de votre tannière.")) \
    X(254, LANG_PION_DESC_TIGRE, TEXT_1252("Le tigre craint l'éléphant, le lion et le tigre adverse. Il peut prendre le rat, le chat, le loup, le chien, la panthère et le tigre adverse. C'est une pièce d'attaque : il saute par dessus les rivières, sauf quand le rat caché dans l'eau lui coupe la ligne.")) \
    X(255, LANG_PION_DESC_LION, TEXT_1252("Le lion craint l'éléphant et le lion adverse. Il peut prendre toutes les pièces du jeu sauf l'éléphant. C'est une pièce d'attaque : il saute par dessus les rivières, sauf quand le rat caché dans l'eau lui coupe la ligne.")) \
    X(256, LANG_PION_DESC_ELEPHANT, TEXT_1252("L'éléphant est la pièce la plus puissante du jeu et il peut manger toutes les autres pièces. Seul le rat qui est la plus petite créature du jeu, et l'éléphant adverse représentent un danger pour lui.")) \
    X(257, LANG_PION_DESC_SHORT_RAT, TEXT_1252("Caché dans l’eau, votre rat ne craindra que le rat adverse et il pourra bloquer les sauts du lion et du tigre. Attendez le moment propice pour essayer de l’utiliser contre l’éléphant...")) \
    X(258, LANG_PION_DESC_SHORT_CHAT, TEXT_1252("Placez votre chat près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.")) \
    X(259, LANG_PION_DESC_SHORT_LOUP, TEXT_1252("Placez votre loup près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.")) \
    X(260, LANG_PION_DESC_SHORT_CHIEN, TEXT_1252("Placez votre chien près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.")) \
    X(261, LANG_PION_DESC_SHORT_PANTHERE, TEXT_1252("Si vous utilisez le chien, le loup et le chat en défense près des pièges, la panthère sera inutile dans ce rôle. Peut-être pouvez-vous l’utiliser en soutien de l’éléphant pour le protéger du rat...")) \
    X(262, LANG_PION_DESC_SHORT_TIGRE, TEXT_1252("Le tigre est une pièce d’attaque. Ces sauts permettent même des attaques surprises ! Essayez de l’avancer vers le camp adverse...")) \
    X(263, LANG_PION_DESC_SHORT_LION, TEXT_1252("Le lion est une pièce d’attaque. Ces sauts permettent même des attaques surprises ! Essayez de l’avancer vers le camp adverse...")) \
    X(264, LANG_PION_DESC_SHORT_ELEPHANT, TEXT_1252("L’éléphant est une pièce d’attaque puisque c’est la plus puissante du jeu. Essayez de l’avancer vers le camp adverse et attention au rat !")) \
    X(265, LANG_NETWORK_PLAYER_JOINED_GAME, TEXT_1252("%s a rejoint la partie.")) \
    X(266, LANG_NETWORK_PLAYER_LEFT_GAME, TEXT_1252("%s a quitté la partie.")) \
    X(267, LANG_NETWORK_DISCONNECTED, TEXT_1252("Déconnecté de la partie")) \
    X(268, LANG_NETWORK_SYNC_ERROR, TEXT_1252("Erreur de synchronisation réseau")) \
    X(269, LANG_NETWORK_OPPONENT_LEFT, TEXT_1252("Votre adversaire a quitté la partie")) \
    X(270, LANG_MOVE_DESCRIPTION, TEXT_1252("%s déplace %s de %c%i en %c%i")) \
    X(271, LANG_NETWORK_INTERNET_SERVER_UNLISTABLE, TEXT_1252("Impossible de se connecter au serveur d'Morvex Games. Vérifiez qu'un éventuel firewall ne bloque pas les accès internet du jeu.")) \
    X(272, LANG_NETWORK_INTERNET_SERVER_NOGAMES, TEXT_1252("Impossible de se connecter au serveur d'Morvex Games. Il est peut-être hors ligne. Vérifiez qu'un éventuel firewall ne bloque pas les accès internet du jeu.")) \
    X(273, LANG_NETWORK_INTERNET_SERVER_GAME_FULL, TEXT_1252("Le serveur est plein")) \
    X(274, LANG_NETWORK_INTERNET_SERVER_ERROR, TEXT_1252("Impossible de se connecter à la session principale")) \
    X(275, LANG_NETWORK_INTERNET_SERVER_HOST_REJECT, TEXT_1252("Le serveur a refusé la connection")) \
    X(276, LANG_NETWORK_INTERNET_GAME_UNLISTABLE, TEXT_1252("Impossible de liester les partie sur l'ordinateur de l'adversaire.")) \
    X(277, LANG_NETWORK_INTERNET_GAME_NOT_FOUND, TEXT_1252("Impossible de trouver la partie sur l'ordinateur de l'adversaire.")) \
    X(278, LANG_NETWORK_INTERNET_GAME_GAME_FULL, TEXT_1252("La partie est pleine")) \
    X(279, LANG_NETWORK_INTERNET_GAME_ERROR, TEXT_1252("Impossible de se connecter à la partie distante")) \
    X(280, LANG_NETWORK_INTERNET_GAME_HOST_REJECT, TEXT_1252("L'adversaire a refusé la connection")) \
    X(281, LANG_INVALID_NETWORK_PSEUDO, TEXT_1252("Pseudonyme Invalide, veuillez entrer au moins un caractère !")) \
    X(282, LANG_WINDOWGAMETYPE_MORVEXGAMES, TEXT_1252("Morvex Games")) \
    X(283, LANG_WINDOWGAMETYPE_MORVEXGAMES_INFOTIP, TEXT_1252("Se connecte sur le serveur Morvex Games et y arrange une partie avec un adversaire de votre niveau.")) \
    X(284, LANG_WINDOW_PREVIOUS_MENU, TEXT_1252("Annuler")) \
    X(285, LANG_WINDOW_PREVIOUS_MENU_INFOTIP, TEXT_1252("Revenir au menu précédent")) \
    X(286, LANG_WINDOWNEWGAMEMULTI_TITLE, TEXT_1252("Partie multijoueur")) \
    X(287, LANG_WINDOWNEWGAMEMULTI_CREATE, TEXT_1252("Créer")) \
    X(288, LANG_WINDOWNEWGAMEMULTI_CREATE_INFOTIP, TEXT_1252("Créer une partie et permettre à un autre joueur de la rejoindre.")) \
    X(289, LANG_WINDOWNEWGAMEMULTI_JOIN, TEXT_1252("Rejoindre")) \
    X(290, LANG_WINDOWNEWGAMEMULTI_JOIN_INFOTIP, TEXT_1252("Voir la liste des parties déjà créées et en rejoindre une.")) \
    X(291, LANG_WINDOWNEWGAMEMULTI_LABEL_NICKNAME, TEXT_1252("Pseudo :")) \
    X(292, LANG_GAME_NAME, TEXT_1252("Partie de ")) \
    X(293, LANG_UNABLE_TO_CREATE_GAME, TEXT_1252("Impossible de créer la partie : ")) \
    X(294, LANG_WINDOWPREPAREGAME_TITLE, TEXT_1252("Préparation de la partie")) \
    X(295, LANG_WINDOWPREPAREGAME_LAUNCH, TEXT_1252("Lancer")) \
    X(296, LANG_WINDOWPREPAREGAME_NOPLAYER, TEXT_1252("vide")) \
    X(297, LANG_WINDOWJOINGAME_TITLE, TEXT_1252("Rejoindre une partie")) \
    X(298, LANG_WINDOWJOINGAME_JOIN, TEXT_1252("Rejoindre")) \
    X(299, LANG_WINDOWJOINGAME_REFRESH, TEXT_1252("Rafraîchir")) \
    X(300, LANG_WINDOWJOINGAME_REFRESH_INFOTIP, TEXT_1252("Rafraichi la liste des parties")) \
    X(301, LANG_WINDOWJOINGAME_UNABLE_TO_CONNECT, TEXT_1252("Impossible de se connecter à cette partie.")) \
    X(302, LANG_WINDOWJOINGAME_UNABLE_TO_LIST_GAME, TEXT_1252("Impossible de lister les parties")) \
    X(303, LANG_WINDOWJOINGAME_GAME_FULL, TEXT_1252("La partie est pleine.")) \
    X(304, LANG_WINDOWJOINGAME_BANISHED, TEXT_1252("Vous êtes bannis de la partie.")) \
    X(305, LANG_WINDOW_MORVEX_GAMES_TITLE, TEXT_1252("Serveur Internet")) \
    X(306, LANG_WINDOW_MORVEX_GAMES_CONNECTING, TEXT_1252("Connection au serveur Morvex Games... Essai %i/%i")) \
    X(307, LANG_WINDOW_MORVEX_GAMES_JOINING_SERVER_SESSION, TEXT_1252("Connection à la session principale sur le serveur")) \
    X(308, LANG_WINDOW_MORVEX_GAMES_WAITING_OPONENT, TEXT_1252("En attente d’être mis en relation avec un adversaire.")) \
    X(309, LANG_WINDOW_MORVEX_GAMES_LISTING_REMOTE_GAME, TEXT_1252("Adversaire trouvé ! Recherche de la session de l’adversaire. Essai %i/%i")) \
    X(310, LANG_WINDOW_MORVEX_GAMES_JOINING_REMOTE_GAME, TEXT_1252("Connection à la partie de l’adversaire.")) \
    X(311, LANG_CHATCOMPONENT_SEND, TEXT_1252("Envoyer")) \
    X(312, LANG_CHATCOMPONENT_SEND_INFOTIP, TEXT_1252("Envoyer le message")) \
    X(313, LANG_UNABLE_TO_LOAD_3DMODELS, TEXT_1252("Erreur fatale : Impossible de charger un modele 3D")) \
    X(314, LANG_ERROR_NO_ERROR, TEXT_1252("")) \
    X(315, LANG_TUTORIAL_GENERAL_0, TEXT_1252("C’est à vous de jouer ! Le but est d’atteindre le sanctuaire adverse. Et vous pouvez maintenant déplacer l’un de vos animaux d’une case. Vous pouvez commencez par déplacer une pièce offensive comme l’éléphant, le lion, le tigre ou le rat... Mais il est préférable de déjà organiser les pièces de défense autour de votre sanctuaire, afin de mieux le protéger en laissant ainsi le champ libre aux pièces attaquantes.")) \
    X(316, LANG_TUTORIAL_GENERAL_1, TEXT_1252("Pensez à assurer vos défenses avant de passer à l’attaque.")) \
    X(317, LANG_TUTORIAL_GENERAL_2, TEXT_1252("Dégagez le passage pour les pièces d’attaque qui sont au fond : le lion et le tigre.")) \
    X(318, LANG_TUTORIAL_GENERAL_3, TEXT_1252("C’est à vous de jouer !")) \
    X(319, LANG_TUTORIAL_ADVERSE_CAN_EAT, TEXT_1252("Attention, %s adverse va pouvoir prendre votre %s. Pensez à protéger cette pièce !")) \
    X(320, LANG_TUTORIAL_CAN_EAT, TEXT_1252("A présent, votre %s peut prendre %s de l’adversaire.")) \
    X(321, LANG_TUTORIAL_ATTACK, TEXT_1252("Dirigez-vous maintenant vers le sanctuaire adverse pour gagner la partie !")) \
    X(322, LANG_TUTORIAL_TRAP, TEXT_1252("Attention au piège !")) \
    X(323, LANG_TUTORIAL_CANJUMP, TEXT_1252("Votre %s va pouvoir sauter par dessus le lac... Vous pouvez prévoir une attaque surprise. Mais attention à ce qui vous attends en face !")) \
    X(324, LANG_TUTORIAL_ENTERWATER, TEXT_1252("N’oubliez pas que le rat est le seul animal à pouvoir entrer dans l’eau. C’est un excellent moyen de le protéger !")) \
    X(325, LANG_TUTORIAL_UNDERATTACK, TEXT_1252("Attention, l'ennemi pénètre dans votre territoire ! Défendez votre tannière !")) \
    X(326, LANG_VIDEO_MENU_ERROR, TEXT_1252("Impossible de charger la vidéo de fond de menu. Vérifiez que vous avez bien installé les derniers codecs Windows Media Video 9.")) \
    X(327, LANG_MORVEXGAMES_LINK_TOOLTIP, TEXT_1252("Lien hypertexte vers le site d'Morvex-games.")) \
    X(330, LANG_ID, TEXT_1252("FR"))
// clang-format on
