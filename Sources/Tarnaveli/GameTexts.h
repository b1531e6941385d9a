#pragma once
// The game's language entries, ids 159 to 330: id, key and the built-in
// French text (UTF-8 here; the table holds them in Windows-1252). Ids 328 and
// 329 are not used. A text that ends with a blank keeps it.

// clang-format off
#define VELMORIQUE_GAME_TEXTS(X) \
    X(159, LANG_WINDOW_WIN_TITLE, "Fin de partie") \
    X(160, LANG_WINDOW_WIN_WHITE, "Le joueur blanc a gagné la partie !") \
    X(161, LANG_WINDOW_WIN_BLACK, "Le joueur noir a gagné la partie !") \
    X(162, LANG_WINDOW_WIN_COMPUTER, "L'ordinateur a remporté la partie !") \
    X(163, LANG_WINDOW_WIN_YOU, "Vous avez remporté la partie !") \
    X(164, LANG_WINDOW_WIN_ADVERS, "Votre adversaire a remporté la partie !") \
    X(165, LANG_WINDOW_WIN_ENTER_NICK, "C'est un nouveau record ! Veuillez entrer votre pseudo :") \
    X(166, LANG_WINDOW_OPTION_TITLE, "Options") \
    X(167, LANG_WINDOW_OPTION_ENABLE_SOUNDS, "Bruitages") \
    X(168, LANG_WINDOW_OPTION_ENABLE_SOUNDS_INFOTIP, "Permet d'activer ou de désactiver les effets sonores.") \
    X(169, LANG_SOUND_VOLUME, "Niveau sonore :") \
    X(170, LANG_WINDOW_OPTION_ENABLE_MUSIC, "Musique") \
    X(171, LANG_WINDOW_OPTION_ENABLE_MUSIC_INFOTIP, "Permet d'activer ou de désactiver la musique.") \
    X(172, LANG_MUSIC_VOLUME, "Niveau musique :") \
    X(173, LANG_WINDOW_OPTION_LOGO_INTRO, "Logo Introduction") \
    X(174, LANG_WINDOW_OPTION_LOGO_INTRO_INFOTIP, "Voir les logos au démarrage du jeu.") \
    X(175, LANG_WINDOW_OPTION_TUTORIAL_INTRO, "Tutorial Introduction") \
    X(176, LANG_WINDOW_OPTION_TUTORIAL_INTRO_INFOTIP, "Voir le tutorial en introduction au démarrage du jeu.") \
    X(177, LANG_WINDOW_OPTION_ENABLE_INFOTIP, "Infobulles") \
    X(178, LANG_WINDOW_OPTION_ENABLE_INFOTIP_INFOTIP, "Active / désactive les aides contextuelles associées au boutons et autres.") \
    X(179, LANG_WINDOW_OPTION_VIEW_INTRO_AGAIN, "Revoir tutorial") \
    X(180, LANG_WINDOW_OPTION_VIEW_INTRO_AGAIN_INFOTIP, "Revoir la vidéo d'introduction.") \
    X(181, LANG_WINDOW_OPTION_PION_MODEL, "Modèle de pions : ") \
    X(182, LANG_WINDOW_MENU_TITLE, "Velmorique") \
    X(183, LANG_WINDOW_MENU_NEW_GAME_TUTORIAL, "Tutorial") \
    X(184, LANG_WINDOW_MENU_NEW_GAME_TUTORIAL_INFOTIP, "Jouer au didacticiel pour apprendre les règles du jeu.") \
    X(185, LANG_WINDOW_MENU_NEW_GAME_SOLO, "Partie solo") \
    X(186, LANG_WINDOW_MENU_NEW_GAME_SOLO_INFOTIP, "Joue une partie contre l'ordinateur ou un joueur humain sur le même ordinateur.") \
    X(187, LANG_WINDOW_MENU_NEW_GAME_MULTI, "Partie multijoueur") \
    X(188, LANG_WINDOW_MENU_NEW_GAME_MULTI_INFOTIP, "Joue une partie en réseau local ou internet.") \
    X(189, LANG_WINDOW_MENU_LOAD_GAME, "Charger une partie") \
    X(190, LANG_WINDOW_MENU_LOAD_GAME_INFOTIP, "Reprendre une partie précedemment enregistrée.") \
    X(191, LANG_WINDOW_MENU_SAVE_GAME, "Sauver la partie") \
    X(192, LANG_WINDOW_MENU_SAVE_GAME_INFOTIP, "Sauvegarde la partie en cours pour la continuer ultérieurement.") \
    X(193, LANG_WINDOW_MENU_OPTIONS, "Options") \
    X(194, LANG_WINDOW_MENU_OPTIONS_INFOTIP, "Accède au panneau de réglage des options du jeu.") \
    X(195, LANG_WINDOW_MENU_SCORES, "Scores") \
    X(196, LANG_WINDOW_MENU_SCORES_INFOTIP, "Affiche les records des meilleurs joueurs.") \
    X(197, LANG_WINDOW_MENU_HELP, "Aide") \
    X(198, LANG_WINDOW_MENU_HELP_INFOTIP, "Affiche les règles du jeu.") \
    X(199, LANG_WINDOW_MENU_QUIT, "Quitter") \
    X(200, LANG_WINDOW_MENU_QUIT_INFOTIP, "Quitte le jeu et retourne sous Windows.") \
    X(201, LANG_WINDOW_MENU_ABORT, "Abandonner") \
    X(202, LANG_WINDOW_MENU_ABORT_INFOTIP, "Abandonne la partie et retourne au menu principal.") \
    X(203, LANG_WINDOW_MENU_CONTINUE, "Reprendre") \
    X(204, LANG_WINDOW_MENU_CONTINUE_INFOTIP, "Reprend la partie en cours.") \
    X(205, LANG_WINDOWASKTUTORIAL_TITLE, "Tutorial") \
    X(206, LANG_WINDOWASKTUTORIAL_TEXT, "Il s'agit de votre première partie. Désirez-vous suivre le tutorial ?") \
    X(207, LANG_WINDOW_NEW_GAME_TITLE, "Nouvelle partie") \
    X(208, LANG_WINDOW_NEW_GAME_LABEL_WHITE, "Blanc") \
    X(209, LANG_WINDOW_NEW_GAME_LABEL_BLACK, "Noir") \
    X(210, LANG_TURN_OF_PLAYER_0, "Tour : Blanc") \
    X(211, LANG_TURN_OF_PLAYER_1, "Tour : Noir") \
    X(212, LANG_WINDOW_NEW_GAME_HUMAN, "Humain") \
    X(213, LANG_WINDOW_NEW_GAME_COMPUTER, "Ordinateur") \
    X(214, LANG_WINDOW_NEW_GAME_DIFF_EASY, "Facile") \
    X(215, LANG_WINDOW_NEW_GAME_DIFF_MEDIUM, "Moyen") \
    X(216, LANG_WINDOW_NEW_GAME_DIFF_HARD, "Difficile") \
    X(217, LANG_COMBO_DIFFICULTY_LABEL, "Difficulté :") \
    X(218, LANG_BOARD3D_BUTTON_0, "Changer le point de vue de la caméra.") \
    X(219, LANG_BOARD3D_BUTTON_1, "Obtenir de l'aide (conseil coup suivant).") \
    X(220, LANG_BOARD3D_BUTTON_2, "Annuler le mouvement précédent.") \
    X(221, LANG_BOARD3D_BUTTON_3, "Afficher le menu.") \
    X(222, LANG_BOARD3D_BUTTON_4, "Afficher la fenêtre de chat.") \
    X(223, LANG_SAVEGAME_FILTER, "Sauvergardes de Velmorique") \
    X(224, LANG_WINDOW_LOAD_GAME_TITLE, "Charger une partie") \
    X(225, LANG_WINDOW_LOAD_GAME_ERROR, "Impossible d'ouvrir la sauvegarde. Elle est probablement corrompue.") \
    X(226, LANG_WINDOW_SAVE_GAME_TITLE, "Sauvegarder une partie") \
    X(227, LANG_WINDOW_SAVE_GAME_ERROR, "Impossible d'enregister la partie. Vérifiez que Velmorique peut bien écrire des fichiers dans son répertoire.") \
    X(228, LANG_WINDOW_SCORE_COLUMN_RANK, "Rang") \
    X(229, LANG_WINDOW_SCORE_COLUMN_PLAYER, "Joueur") \
    X(230, LANG_WINDOW_SCORE_COLUMN_TIME, "Temps") \
    X(231, LANG_WINDOW_SCORE_COLUMN_MOVES, "Coups") \
    X(232, LANG_WINDOW_SCORE_COLUMN_DIFFICULTY, "Difficulté") \
    X(233, LANG_PION_NAME_RAT, "rat") \
    X(234, LANG_PION_NAME_CHAT, "chat") \
    X(235, LANG_PION_NAME_LOUP, "loup") \
    X(236, LANG_PION_NAME_CHIEN, "chien") \
    X(237, LANG_PION_NAME_PANTHERE, "panthère") \
    X(238, LANG_PION_NAME_TIGRE, "tigre") \
    X(239, LANG_PION_NAME_LION, "lion") \
    X(240, LANG_PION_NAME_ELEPHANT, "éléphant") \
    X(241, LANG_THE_PION_NAME_RAT, "le rat") \
    X(242, LANG_THE_PION_NAME_CHAT, "le chat") \
    X(243, LANG_THE_PION_NAME_LOUP, "le loup") \
    X(244, LANG_THE_PION_NAME_CHIEN, "le chien") \
    X(245, LANG_THE_PION_NAME_PANTHERE, "la panthère") \
    X(246, LANG_THE_PION_NAME_TIGRE, "le tigre") \
    X(247, LANG_THE_PION_NAME_LION, "le lion") \
    X(248, LANG_THE_PION_NAME_ELEPHANT, "l'éléphant") \
    X(249, LANG_PION_DESC_RAT, "Le rat est la plus petite créature et il peut être dévoré par toutes les autres pièces du jeu. Il ne peut prendre que le rat adverse et l'éléphant, mais jamais l'éléphant depuis l'eau. Il est aussi le seul animal à pouvoir entrer dans la rivière : caché dans l'eau, il coupe la ligne des sauts du lion et du tigre.") \
    X(250, LANG_PION_DESC_CHAT, "Le chat craint l'éléphant, le lion, le tigre, la panthère, le chien, le loup et le chat adverse. Il peut prendre le rat et le chat adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.") \
    X(251, LANG_PION_DESC_LOUP, "Le loup craint l'éléphant, le lion, le tigre, la panthère, le chien et le loup adverse. Il peut prendre le rat, le chat et le loup adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.") \
    X(252, LANG_PION_DESC_CHIEN, "Le chien craint l'éléphant, le lion, le tigre, la panthère et le chien adverse. Il peut prendre le rat, le chat, le loup et le chien adverse. Placé près de vos pièges, il défend votre tannière contre les pièces attaquantes de l'ennemi.") \
    X(253, LANG_PION_DESC_PANTHERE, "La panthère craint l'éléphant, le lion, le tigre et la panthère adverse. Elle peut prendre le rat, le chat, le loup, le chien et la panthère adverse. Elle vient en soutien de la défense de votre tannière.") \
    X(254, LANG_PION_DESC_TIGRE, "Le tigre craint l'éléphant, le lion et le tigre adverse. Il peut prendre le rat, le chat, le loup, le chien, la panthère et le tigre adverse. C'est une pièce d'attaque : il saute par dessus les rivières, sauf quand le rat caché dans l'eau lui coupe la ligne.") \
    X(255, LANG_PION_DESC_LION, "Le lion craint l'éléphant et le lion adverse. Il peut prendre toutes les pièces du jeu sauf l'éléphant. C'est une pièce d'attaque : il saute par dessus les rivières, sauf quand le rat caché dans l'eau lui coupe la ligne.") \
    X(256, LANG_PION_DESC_ELEPHANT, "L'éléphant est la pièce la plus puissante du jeu et il peut manger toutes les autres pièces. Seul le rat qui est la plus petite créature du jeu, et l'éléphant adverse représentent un danger pour lui.") \
    X(257, LANG_PION_DESC_SHORT_RAT, "Caché dans l’eau, votre rat ne craindra que le rat adverse et il pourra bloquer les sauts du lion et du tigre. Attendez le moment propice pour essayer de l’utiliser contre l’éléphant...") \
    X(258, LANG_PION_DESC_SHORT_CHAT, "Placez votre chat près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.") \
    X(259, LANG_PION_DESC_SHORT_LOUP, "Placez votre loup près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.") \
    X(260, LANG_PION_DESC_SHORT_CHIEN, "Placez votre chien près d’un piège pour qu’il attende les pièces attaquantes de l’ennemi.") \
    X(261, LANG_PION_DESC_SHORT_PANTHERE, "Si vous utilisez le chien, le loup et le chat en défense près des pièges, la panthère sera inutile dans ce rôle. Peut-être pouvez-vous l’utiliser en soutien de l’éléphant pour le protéger du rat...") \
    X(262, LANG_PION_DESC_SHORT_TIGRE, "Le tigre est une pièce d’attaque. Ces sauts permettent même des attaques surprises ! Essayez de l’avancer vers le camp adverse...") \
    X(263, LANG_PION_DESC_SHORT_LION, "Le lion est une pièce d’attaque. Ces sauts permettent même des attaques surprises ! Essayez de l’avancer vers le camp adverse...") \
    X(264, LANG_PION_DESC_SHORT_ELEPHANT, "L’éléphant est une pièce d’attaque puisque c’est la plus puissante du jeu. Essayez de l’avancer vers le camp adverse et attention au rat !") \
    X(265, LANG_NETWORK_PLAYER_JOINED_GAME, "%s a rejoint la partie.") \
    X(266, LANG_NETWORK_PLAYER_LEFT_GAME, "%s a quitté la partie.") \
    X(267, LANG_NETWORK_DISCONNECTED, "Déconnecté de la partie") \
    X(268, LANG_NETWORK_SYNC_ERROR, "Erreur de synchronisation réseau") \
    X(269, LANG_NETWORK_OPPONENT_LEFT, "Votre adversaire a quitté la partie") \
    X(270, LANG_MOVE_DESCRIPTION, "%s déplace %s de %c%i en %c%i") \
    X(271, LANG_NETWORK_INTERNET_SERVER_UNLISTABLE, "Impossible de se connecter au serveur d'Morvex Games. Vérifiez qu'un éventuel firewall ne bloque pas les accès internet du jeu.") \
    X(272, LANG_NETWORK_INTERNET_SERVER_NOGAMES, "Impossible de se connecter au serveur d'Morvex Games. Il est peut-être hors ligne. Vérifiez qu'un éventuel firewall ne bloque pas les accès internet du jeu.") \
    X(273, LANG_NETWORK_INTERNET_SERVER_GAME_FULL, "Le serveur est plein") \
    X(274, LANG_NETWORK_INTERNET_SERVER_ERROR, "Impossible de se connecter à la session principale") \
    X(275, LANG_NETWORK_INTERNET_SERVER_HOST_REJECT, "Le serveur a refusé la connection") \
    X(276, LANG_NETWORK_INTERNET_GAME_UNLISTABLE, "Impossible de liester les partie sur l'ordinateur de l'adversaire.") \
    X(277, LANG_NETWORK_INTERNET_GAME_NOT_FOUND, "Impossible de trouver la partie sur l'ordinateur de l'adversaire.") \
    X(278, LANG_NETWORK_INTERNET_GAME_GAME_FULL, "La partie est pleine") \
    X(279, LANG_NETWORK_INTERNET_GAME_ERROR, "Impossible de se connecter à la partie distante") \
    X(280, LANG_NETWORK_INTERNET_GAME_HOST_REJECT, "L'adversaire a refusé la connection") \
    X(281, LANG_INVALID_NETWORK_PSEUDO, "Pseudonyme Invalide, veuillez entrer au moins un caractère !") \
    X(282, LANG_WINDOWGAMETYPE_MORVEXGAMES, "Morvex Games") \
    X(283, LANG_WINDOWGAMETYPE_MORVEXGAMES_INFOTIP, "Se connecte sur le serveur Morvex Games et y arrange une partie avec un adversaire de votre niveau.") \
    X(284, LANG_WINDOW_PREVIOUS_MENU, "Annuler") \
    X(285, LANG_WINDOW_PREVIOUS_MENU_INFOTIP, "Revenir au menu précédent") \
    X(286, LANG_WINDOWNEWGAMEMULTI_TITLE, "Partie multijoueur") \
    X(287, LANG_WINDOWNEWGAMEMULTI_CREATE, "Créer") \
    X(288, LANG_WINDOWNEWGAMEMULTI_CREATE_INFOTIP, "Créer une partie et permettre à un autre joueur de la rejoindre.") \
    X(289, LANG_WINDOWNEWGAMEMULTI_JOIN, "Rejoindre") \
    X(290, LANG_WINDOWNEWGAMEMULTI_JOIN_INFOTIP, "Voir la liste des parties déjà créées et en rejoindre une.") \
    X(291, LANG_WINDOWNEWGAMEMULTI_LABEL_NICKNAME, "Pseudo :") \
    X(292, LANG_GAME_NAME, "Partie de ") \
    X(293, LANG_UNABLE_TO_CREATE_GAME, "Impossible de créer la partie : ") \
    X(294, LANG_WINDOWPREPAREGAME_TITLE, "Préparation de la partie") \
    X(295, LANG_WINDOWPREPAREGAME_LAUNCH, "Lancer") \
    X(296, LANG_WINDOWPREPAREGAME_NOPLAYER, "vide") \
    X(297, LANG_WINDOWJOINGAME_TITLE, "Rejoindre une partie") \
    X(298, LANG_WINDOWJOINGAME_JOIN, "Rejoindre") \
    X(299, LANG_WINDOWJOINGAME_REFRESH, "Rafraîchir") \
    X(300, LANG_WINDOWJOINGAME_REFRESH_INFOTIP, "Rafraichi la liste des parties") \
    X(301, LANG_WINDOWJOINGAME_UNABLE_TO_CONNECT, "Impossible de se connecter à cette partie.") \
    X(302, LANG_WINDOWJOINGAME_UNABLE_TO_LIST_GAME, "Impossible de lister les parties") \
    X(303, LANG_WINDOWJOINGAME_GAME_FULL, "La partie est pleine.") \
    X(304, LANG_WINDOWJOINGAME_BANISHED, "Vous êtes bannis de la partie.") \
    X(305, LANG_WINDOW_MORVEX_GAMES_TITLE, "Serveur Internet") \
    X(306, LANG_WINDOW_MORVEX_GAMES_CONNECTING, "Connection au serveur Morvex Games... Essai %i/%i") \
    X(307, LANG_WINDOW_MORVEX_GAMES_JOINING_SERVER_SESSION, "Connection à la session principale sur le serveur") \
    X(308, LANG_WINDOW_MORVEX_GAMES_WAITING_OPONENT, "En attente d’être mis en relation avec un adversaire.") \
    X(309, LANG_WINDOW_MORVEX_GAMES_LISTING_REMOTE_GAME, "Adversaire trouvé ! Recherche de la session de l’adversaire. Essai %i/%i") \
    X(310, LANG_WINDOW_MORVEX_GAMES_JOINING_REMOTE_GAME, "Connection à la partie de l’adversaire.") \
    X(311, LANG_CHATCOMPONENT_SEND, "Envoyer") \
    X(312, LANG_CHATCOMPONENT_SEND_INFOTIP, "Envoyer le message") \
    X(313, LANG_UNABLE_TO_LOAD_3DMODELS, "Erreur fatale : Impossible de charger un modele 3D") \
    X(314, LANG_ERROR_NO_ERROR, "") \
    X(315, LANG_TUTORIAL_GENERAL_0, "C’est à vous de jouer ! Le but est d’atteindre le sanctuaire adverse. Et vous pouvez maintenant déplacer l’un de vos animaux d’une case. Vous pouvez commencez par déplacer une pièce offensive comme l’éléphant, le lion, le tigre ou le rat... Mais il est préférable de déjà organiser les pièces de défense autour de votre sanctuaire, afin de mieux le protéger en laissant ainsi le champ libre aux pièces attaquantes.") \
    X(316, LANG_TUTORIAL_GENERAL_1, "Pensez à assurer vos défenses avant de passer à l’attaque.") \
    X(317, LANG_TUTORIAL_GENERAL_2, "Dégagez le passage pour les pièces d’attaque qui sont au fond : le lion et le tigre.") \
    X(318, LANG_TUTORIAL_GENERAL_3, "C’est à vous de jouer !") \
    X(319, LANG_TUTORIAL_ADVERSE_CAN_EAT, "Attention, %s adverse va pouvoir prendre votre %s. Pensez à protéger cette pièce !") \
    X(320, LANG_TUTORIAL_CAN_EAT, "A présent, votre %s peut prendre %s de l’adversaire.") \
    X(321, LANG_TUTORIAL_ATTACK, "Dirigez-vous maintenant vers le sanctuaire adverse pour gagner la partie !") \
    X(322, LANG_TUTORIAL_TRAP, "Attention au piège !") \
    X(323, LANG_TUTORIAL_CANJUMP, "Votre %s va pouvoir sauter par dessus le lac... Vous pouvez prévoir une attaque surprise. Mais attention à ce qui vous attends en face !") \
    X(324, LANG_TUTORIAL_ENTERWATER, "N’oubliez pas que le rat est le seul animal à pouvoir entrer dans l’eau. C’est un excellent moyen de le protéger !") \
    X(325, LANG_TUTORIAL_UNDERATTACK, "Attention, l'ennemi pénètre dans votre territoire ! Défendez votre tannière !") \
    X(326, LANG_VIDEO_MENU_ERROR, "Impossible de charger la vidéo de fond de menu. Vérifiez que vous avez bien installé les derniers codecs Windows Media Video 9.") \
    X(327, LANG_MORVEXGAMES_LINK_TOOLTIP, "Lien hypertexte vers le site d'Morvex-games.") \
    X(330, LANG_ID, "FR")
// clang-format on
