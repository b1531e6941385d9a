#!/usr/bin/env python3
"""Writes the seeds of the discovery promise targets: each replays an attack
made on discovery, in the event formats their sources describe. Run from the
repository's root; the seeds are committed, this only remakes them."""
import os
import struct

SEARCH = "tests/fuzz/corpus/fuzz_discovery_search"
ANSWERS = "tests/fuzz/corpus/fuzz_discovery_answers"

# ---------------------------------------------------------------- searching side
REAL, SAME_IP, SAME_PORT = 0, 1, 2  # sources: the real game's, its address, its port
NEXT_SOURCE, NEXT_SESSION, OTHER_APPLICATION, DAMAGED = 1, 2, 4, 8


def answers(count, source, session, name, how=0, players=(2, 1), port=2301):
    name = name.encode("cp1252")
    return (bytes([0, count - 1, how]) + struct.pack("<H", source) +
            bytes([session, players[0], players[1]]) + struct.pack("<H", port) + bytes([len(name)]) + name)


ROUND = bytes([2])
REFRESH = bytes([3])
LATE_REFRESH = bytes([7])  # what was reported reaches the list after it was emptied


def real():
    return answers(1, REAL, 0, "Partie de Bob")


def search_seeds():
    seeds = {}
    # Four made-up games sent once from the game's own address and port
    # before it is hosted fill that source's places.
    seeds["forged_places_before_the_game"] = (
        ROUND + answers(4, REAL, 1, "Partie gratuite", NEXT_SESSION) + ROUND + ROUND)
    # The game is listed; a flood from its own address and port gets that
    # source dropped; then four made-up games from there, within the limit,
    # while the game's answers do not get through.
    seeds["forged_places_after_a_flood"] = (
        ROUND + real() + ROUND + real() +
        (ROUND + answers(250, REAL, 1, "Partie gratuite", NEXT_SESSION)) * 2 +
        (ROUND + answers(4, REAL, 1, "Partie gratuite", NEXT_SESSION)) * 4)
    # A few bytes from more senders than a search remembers.
    seeds["junk_once"] = (
        ROUND + answers(256, 3, 1, "", NEXT_SOURCE | DAMAGED) +
        answers(44, 259, 1, "", NEXT_SOURCE | OTHER_APPLICATION) + ROUND)
    # Three sources answering for new sessions as fast as they can, round
    # after round, while the game answers; then senders taking turns.
    flood = b"".join(answers(200, source, 1, "Partie gratuite", NEXT_SESSION) for source in (5, 6, 7))
    seeds["flood_of_forged_answers"] = (
        (ROUND + real() + flood) * 2 + ROUND + answers(256, 3, 1, "Partie gratuite", NEXT_SOURCE | NEXT_SESSION) * 2)
    # Queries sent in the searcher's name make the game answer in bursts.
    seeds["queries_in_the_searchers_name"] = (ROUND + answers(8, REAL, 0, "Partie de Bob")) * 3
    # The game's own session answered from other addresses under other names,
    # before the game's own answers and with them, and Rafraîchir pressed
    # during it.
    forged = (answers(1, SAME_PORT, 0, "Piege\n\r\tPiege") + answers(1, SAME_IP, 0, "Piege", port=4000))
    seeds["forged_row_with_the_real_instance"] = (
        ROUND + forged + real() + ROUND + forged + real() + REFRESH + forged + real() + ROUND + forged)
    # Found by the fuzzer: a forged row of the game, reported just before
    # Rafraîchir and handled just after it, stayed in the emptied list.
    seeds["forged_row_reported_across_a_refresh"] = ROUND + answers(1, SAME_PORT, 0, "Piege") + LATE_REFRESH
    return seeds


# ---------------------------------------------------------------- hosted side
SEARCHER = 0


def queries(delay_ms, source, count=1):
    return struct.pack("<HHB", delay_ms, source, count - 1)


def answers_seeds():
    seeds = {}
    # Queries forged in the searcher's name, 50 and 1,000 a second for 3 s.
    seeds["queries_in_the_searchers_name_50"] = bytes([0]) + queries(100, SEARCHER, 5) * 30
    seeds["queries_in_the_searchers_name_1000"] = bytes([100]) + queries(100, SEARCHER, 100) * 30
    # Queries from 300 sources at once, the searcher's among them.
    seeds["queries_from_300_sources"] = bytes([7]) + b"".join(queries(1, source) for source in range(300))
    return seeds


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


write(SEARCH, search_seeds())
write(ANSWERS, answers_seeds())
