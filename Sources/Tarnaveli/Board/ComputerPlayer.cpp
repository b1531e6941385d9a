#include "Tarnaveli/Board/ComputerPlayer.h"

#include "Platform/System/Random.h"
#include "Tarnaveli/Board/Board.h"

#include <cassert>
#include <climits>

namespace
{
struct Target
{
    int32_t x;
    int32_t y;
};

// Targets of side 0 by rank: the attackers head for the enemy den, the
// middle ranks guard the own traps. Side 1 reflects them.
constexpr Target kTargets[8] = {{8, 3}, {0, 1}, {1, 2}, {0, 5}, {1, 4}, {8, 3}, {8, 3}, {8, 3}};

// ---------------------------------------------------------------------------
// The search runs on a compact copy of the position: a byte per cell naming
// its piece and a byte per piece naming its cell, with the board geometry
// (neighbours, lake jumps) worked out once at compile time. It follows the
// board's rules move for move; the tests hold it to the board's generator and
// to a plain minimax over the board itself.

constexpr int kCells = static_cast<int>(Board::kCellCount);
// The cell after the board's lies off it and is never occupied: it pads the
// jump paths. (Occupants are -1 when empty, so the AND of a path is negative
// only when every cell of it is empty.)
constexpr int kNoCell = kCells;
constexpr int kSearchCells = kCells + 1;
constexpr int kNoPiece = static_cast<int>(Board::kPieceCount);

constexpr int cellX(int cell)
{
    return cell % Board::kWidth;
}
constexpr int cellY(int cell)
{
    return cell / Board::kWidth;
}

// Plain aggregates without default member initialisers: buildGeometry
// writes every slot itself and the static_assert below checks each one.
// (GCC 12 built an earlier form of this constant table, whose jump paths
// were padded by default member initialisers, with some padding slots zero,
// i.e. cell (0,0): a piece there then blocked lake jumps inside the search.)
struct Jump
{
    int8_t landing; // -1 when the lake's far side lies off the board
    int8_t path[3]; // the water cells crossed, then kNoCell
};

struct Geometry
{
    uint8_t terrain[kSearchCells];
    int8_t neighbour[kSearchCells][4]; // -1 off the board
    Jump jump[kSearchCells][4];        // landing -1 where that neighbour is not water
};

constexpr int kDx[4] = {-1, 0, 1, 0};
constexpr int kDy[4] = {0, -1, 0, 1};

constexpr Geometry buildGeometry()
{
    Geometry g{};
    for (int c = 0; c < kSearchCells; ++c)
    {
        const int x = cellX(c);
        const int y = cellY(c);
        g.terrain[c] =
            c == kNoCell ? static_cast<uint8_t>(TERRAIN_LAND) : static_cast<uint8_t>(terrainAt(x, y));
        for (int dir = 0; dir < 4; ++dir)
        {
            Jump& jump = g.jump[c][dir];
            jump.landing = -1;
            for (int8_t& step : jump.path)
                step = kNoCell;
            int tx = x + kDx[dir];
            int ty = y + kDy[dir];
            const bool onBoard = c != kNoCell && Board::isInside(tx, ty);
            g.neighbour[c][dir] = onBoard ? static_cast<int8_t>(Board::cellIndex(tx, ty)) : int8_t(-1);
            if (!onBoard || terrainAt(tx, ty) != TERRAIN_WATER)
                continue;
            int n = 0;
            while (Board::isInside(tx, ty) && terrainAt(tx, ty) == TERRAIN_WATER)
            {
                jump.path[n++] = static_cast<int8_t>(Board::cellIndex(tx, ty));
                tx += kDx[dir];
                ty += kDy[dir];
            }
            if (Board::isInside(tx, ty))
                jump.landing = static_cast<int8_t>(Board::cellIndex(tx, ty));
        }
    }
    return g;
}

constexpr Geometry kGeometry = buildGeometry();

// Checks every slot of the table against the board's own terrain, so that a
// compiler that builds it wrongly stops the build instead of the search
// misjudging positions.
constexpr bool geometryIsSound(const Geometry& g)
{
    int landings = 0;
    for (int c = 0; c < kSearchCells; ++c)
    {
        const int x = cellX(c);
        const int y = cellY(c);
        if (c == kNoCell ? g.terrain[c] != TERRAIN_LAND : g.terrain[c] != terrainAt(x, y))
            return false;
        for (int dir = 0; dir < 4; ++dir)
        {
            const int nx = x + kDx[dir];
            const int ny = y + kDy[dir];
            const bool onBoard = c != kNoCell && Board::isInside(nx, ny);
            if (g.neighbour[c][dir] != (onBoard ? Board::cellIndex(nx, ny) : -1))
                return false;
            const Jump& jump = g.jump[c][dir];
            const bool overWater = onBoard && terrainAt(nx, ny) == TERRAIN_WATER;
            // The crossed cells: water, in line from the neighbour on; every
            // slot after them is the off-board cell.
            int crossed = 0;
            for (int k = 0; k < 3; ++k)
            {
                const int px = x + (k + 1) * kDx[dir];
                const int py = y + (k + 1) * kDy[dir];
                const bool water = overWater && crossed == k && Board::isInside(px, py) &&
                                   terrainAt(px, py) == TERRAIN_WATER;
                if (jump.path[k] != (water ? Board::cellIndex(px, py) : kNoCell))
                    return false;
                crossed += water ? 1 : 0;
            }
            const int lx = x + (crossed + 1) * kDx[dir];
            const int ly = y + (crossed + 1) * kDy[dir];
            const bool lands = overWater && Board::isInside(lx, ly);
            if (jump.landing != (lands ? Board::cellIndex(lx, ly) : -1))
                return false;
            if (lands && (terrainAt(lx, ly) == TERRAIN_WATER || crossed == 0))
                return false;
            landings += lands && g.terrain[c] != TERRAIN_WATER ? 1 : 0;
        }
    }
    // The jumps from land (those from water are never taken): across each of
    // the two lakes along its two rows and its three columns, both ways.
    return landings == 2 * (2 * 2 + 3 * 2);
}

static_assert(geometryIsSound(kGeometry), "the search's board geometry is wrong");

struct SearchState
{
    int8_t occupant[kSearchCells];   // piece index, or -1; [kNoCell] stays -1
    int8_t cell[Board::kPieceCount]; // cell index, or -1 off the board
    bool denEntered;
    int32_t score; // the static value while the den flag is clear
    uint32_t me;   // the computer's side
    const int32_t (*contribution)[kSearchCells];
};

// Calls visit(piece, from, to, kind, victim) for every legal move of `side`,
// in the board's order (rank 0..7, then x - 1, y - 1, x + 1, y + 1).
template <typename Visit> inline void forEachMove(const SearchState& s, uint32_t side, Visit&& visit)
{
    const int base = static_cast<int>(side) * 8;
    const uint8_t ownTrap = static_cast<uint8_t>(side + 2);
    const uint8_t ownDen = static_cast<uint8_t>(side + 4);
    const uint8_t enemyDen = static_cast<uint8_t>(5 - side);
    for (int rank = 0; rank < 8; ++rank)
    {
        const int piece = base + rank;
        const int from = s.cell[piece];
        if (from < 0)
            continue;
        const bool fromWater = kGeometry.terrain[from] == TERRAIN_WATER;
        for (int dir = 0; dir < 4; ++dir)
        {
            const int to = kGeometry.neighbour[from][dir];
            if (to < 0)
                continue;
            const uint8_t terrain = kGeometry.terrain[to];
            const int other = s.occupant[to];
            if (other >= 0)
            {
                if ((other >> 3) == static_cast<int>(side))
                    continue;
                const int otherRank = other & 7;
                if ((rank >= otherRank && terrain != TERRAIN_WATER) ||
                    (rank == RANK_RAT &&
                     (otherRank == RANK_RAT || (otherRank == RANK_ELEPHANT && !fromWater))) ||
                    terrain == ownTrap)
                    visit(piece, from, to, MOVE_CAPTURE, other);
                continue;
            }
            if (terrain != TERRAIN_WATER)
            {
                if (terrain == enemyDen)
                    visit(piece, from, to, MOVE_DEN_ENTRY, kNoPiece);
                else if (terrain != ownDen)
                    visit(piece, from, to, MOVE_PLAIN, kNoPiece);
                continue;
            }
            if (rank == RANK_RAT)
            {
                visit(piece, from, to, MOVE_PLAIN, kNoPiece);
                continue;
            }
            if (rank != RANK_LION && rank != RANK_TIGER)
                continue;
            const Jump& jump = kGeometry.jump[from][dir];
            if (jump.landing < 0 ||
                (s.occupant[jump.path[0]] & s.occupant[jump.path[1]] & s.occupant[jump.path[2]]) >= 0)
                continue;
            const int landed = s.occupant[jump.landing];
            if (landed < 0)
                visit(piece, from, static_cast<int>(jump.landing), MOVE_PLAIN, kNoPiece);
            else if ((landed >> 3) != static_cast<int>(side) && rank >= (landed & 7))
                visit(piece, from, static_cast<int>(jump.landing), MOVE_CAPTURE, landed);
        }
    }
}

inline int32_t scoreAfter(const SearchState& s, int piece, int from, int to, int victim)
{
    return s.score + s.contribution[piece][to] - s.contribution[piece][from] - s.contribution[victim][to];
}

inline void applyMove(SearchState& s, int piece, int from, int to, uint32_t kind, int victim)
{
    s.score = scoreAfter(s, piece, from, to, victim);
    if (victim != kNoPiece)
        s.cell[victim] = -1;
    if (kind == MOVE_DEN_ENTRY)
        s.denEntered = true;
    s.occupant[from] = -1;
    s.occupant[to] = static_cast<int8_t>(piece);
    s.cell[piece] = static_cast<int8_t>(to);
}

inline void revertMove(SearchState& s, int piece, int from, int to, uint32_t kind, int victim, int32_t score)
{
    s.cell[piece] = static_cast<int8_t>(from);
    s.occupant[from] = static_cast<int8_t>(piece);
    s.occupant[to] = -1;
    if (victim != kNoPiece)
    {
        s.cell[victim] = static_cast<int8_t>(to);
        s.occupant[to] = static_cast<int8_t>(victim);
    }
    if (kind == MOVE_DEN_ENTRY)
        s.denEntered = false;
    s.score = score;
}

void loadPosition(const Board& board, SearchState& s)
{
    for (int8_t& occupant : s.occupant)
        occupant = -1;
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        const Piece& piece = board.getPieceByIndex(i);
        s.cell[i] = -1;
        if (piece.isOnBoard())
        {
            const int c = Board::cellIndex(piece.getX(), piece.getY());
            s.cell[i] = static_cast<int8_t>(c);
            s.occupant[c] = static_cast<int8_t>(i);
        }
    }
    s.denEntered = board.isDenEntered();
    s.score = 0;
    s.me = 0;
    s.contribution = nullptr;
}

int32_t maxNode(SearchState& s, int depth);

// The opponent to move: the smallest value of its moves, INT_MAX without any.
int32_t minNode(SearchState& s, int depth)
{
    if (s.denEntered)
        return ComputerPlayer::kWinValue + depth;
    if (depth == 0)
        return s.score;
    int32_t best = INT32_MAX;
    const uint32_t side = 1 - s.me;
    if (depth == 1)
    {
        // The children are leaves: their values need no move on the board.
        forEachMove(s, side,
                    [&](int piece, int from, int to, uint32_t kind, int victim)
                    {
                        const int32_t value = kind == MOVE_DEN_ENTRY ? -ComputerPlayer::kWinValue
                                                                     : scoreAfter(s, piece, from, to, victim);
                        best = value < best ? value : best;
                    });
        return best;
    }
    forEachMove(s, side,
                [&](int piece, int from, int to, uint32_t kind, int victim)
                {
                    const int32_t score = s.score;
                    applyMove(s, piece, from, to, kind, victim);
                    const int32_t value = maxNode(s, depth - 1);
                    revertMove(s, piece, from, to, kind, victim, score);
                    best = value < best ? value : best;
                });
    return best;
}

// The computer to move: the greatest value of its moves, INT_MIN without any.
int32_t maxNode(SearchState& s, int depth)
{
    if (s.denEntered)
        return -ComputerPlayer::kWinValue;
    if (depth == 0)
        return s.score;
    int32_t best = INT32_MIN;
    if (depth == 1)
    {
        forEachMove(s, s.me,
                    [&](int piece, int from, int to, uint32_t kind, int victim)
                    {
                        const int32_t value = kind == MOVE_DEN_ENTRY ? ComputerPlayer::kWinValue
                                                                     : scoreAfter(s, piece, from, to, victim);
                        best = value > best ? value : best;
                    });
        return best;
    }
    forEachMove(s, s.me,
                [&](int piece, int from, int to, uint32_t kind, int victim)
                {
                    const int32_t score = s.score;
                    applyMove(s, piece, from, to, kind, victim);
                    const int32_t value = minNode(s, depth - 1);
                    revertMove(s, piece, from, to, kind, victim, score);
                    best = value > best ? value : best;
                });
    return best;
}
} // namespace

ComputerPlayer::ComputerPlayer() : Player(PLAYER_COMPUTER, 0) {}

ComputerPlayer::ComputerPlayer(Board* board, uint32_t side, uint32_t level)
    : Player(PLAYER_COMPUTER, side), mBoard(board), mLevel(level)
{
    assert(side <= 1 && level <= kMaxLevel);
    init();
}

ComputerPlayer::~ComputerPlayer() = default;

void ComputerPlayer::getTarget(uint32_t rank, int32_t& x, int32_t& y) const
{
    x = mSide == 0 ? kTargets[rank].x : Board::kWidth - 1 - kTargets[rank].x;
    y = mSide == 0 ? kTargets[rank].y : Board::kHeight - 1 - kTargets[rank].y;
}

static_assert(ComputerPlayer::kDistanceColumn >= Board::kHeight);

void ComputerPlayer::init()
{
    mSearchDepth = mLevel + 2;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        int32_t tx = 0, ty = 0;
        getTarget(rank, tx, ty);
        mDistanceTables[rank] = std::make_unique<uint8_t[]>(Board::kWidth * kDistanceColumn);
        for (int32_t x = 0; x < Board::kWidth; ++x)
        {
            for (int32_t y = 0; y < Board::kHeight; ++y)
                mDistanceTables[rank][x * kDistanceColumn + y] =
                    static_cast<uint8_t>((x > tx ? x - tx : tx - x) + (y > ty ? y - ty : ty - y));
        }
    }
    // 16 - distance per piece and cell: positive for the computer's pieces,
    // negative for the opponent's, measured from the computer's own den.
    const uint8_t* denDistance = mDistanceTables[RANK_ELEPHANT].get();
    for (uint32_t piece = 0; piece < Board::kPieceCount; ++piece)
    {
        const uint32_t rank = piece & 7;
        for (int32_t c = 0; c < kCells; ++c)
        {
            const int32_t x = cellX(c);
            const int32_t y = cellY(c);
            mContribution[piece][c] =
                (piece >> 3) == mSide ? 16 - mDistanceTables[rank][x * kDistanceColumn + y]
                                      : -(16 - denDistance[(Board::kWidth - 1 - x) * kDistanceColumn + y]);
        }
    }
    mReady = true;
}

int32_t ComputerPlayer::evaluate(const Board* board, int32_t remainingDepth, bool inMaxNode) const
{
    if (board->isDenEntered())
        return inMaxNode ? -kWinValue : kWinValue + remainingDepth;
    int32_t value = 0;
    const uint8_t* denDistance = mDistanceTables[RANK_ELEPHANT].get();
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        const Piece& piece = board->getPieceByIndex(i);
        if (!piece.isOnBoard())
            continue;
        const int32_t x = piece.getX();
        const int32_t y = piece.getY();
        if (piece.getSide() == mSide)
            value += 16 - mDistanceTables[piece.getRank()][x * kDistanceColumn + y];
        else
            value -= 16 - denDistance[(Board::kWidth - 1 - x) * kDistanceColumn + y];
    }
    return value;
}

Move* ComputerPlayer::chooseMove(Board* board)
{
    if (board == nullptr)
        board = mBoard;
    mRootMoveCount = 0;
    mTieCount = 0;
    mMoves.clear(board, mSide, 0);
    if (board == nullptr || !mReady)
        return nullptr;

    // 1. Copy the position into the compact search state.
    SearchState s;
    loadPosition(*board, s);
    s.me = mSide;
    s.contribution = mContribution;
    s.score = 0;
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
        s.score += s.cell[i] >= 0 ? mContribution[i][s.cell[i]] : 0;

    // 2. Value every own move in the board's order; keep the best ones.
    int32_t best = INT32_MIN;
    const int depth = static_cast<int>(mSearchDepth);
    MoveList moves;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        board->generateMoves(mSide, rank, moves);
        for (uint32_t index = 0; index < moves.getCount(); ++index)
        {
            const Move& move = moves[index];
            const int piece = static_cast<int>(mSide * 8 + rank);
            const int from = s.cell[piece];
            const int to = Board::cellIndex(move.getTargetX(), move.getTargetY());
            const int victim = move.getKind() == MOVE_CAPTURE ? s.occupant[to] : kNoPiece;
            const int32_t score = s.score;
            applyMove(s, piece, from, to, move.getKind(), victim);
            const int32_t value = minNode(s, depth);
            revertMove(s, piece, from, to, move.getKind(), victim, score);

            mRootMoves[mRootMoveCount++] = RootMove{rank, index, value};
            if (value > best)
            {
                best = value;
                mTieCount = 0;
            }
            if (value == best)
                mTies[mTieCount++] = RootMove{rank, index, value};
        }
    }
    if (mTieCount == 0)
        return nullptr;

    // 3. Draw one of the equally best moves and rebuild it in our own list.
    const RootMove& chosen = mTies[static_cast<uint32_t>(Platform::random()) % mTieCount];
    board->generateMoves(mSide, chosen.mRank, mMoves);
    return &mMoves[chosen.mIndex];
}

uint32_t ComputerPlayer::listSearchMoves(const Board& board, uint32_t side, SearchMove (&out)[kMaxRootMoves])
{
    SearchState s;
    loadPosition(board, s);
    uint32_t count = 0;
    forEachMove(s, side & 1,
                [&](int piece, int, int to, uint32_t kind, int) {
                    out[count++] = SearchMove{static_cast<uint32_t>(piece & 7), cellX(to), cellY(to), kind};
                });
    return count;
}

ErrorCode ComputerPlayer::serialize(BinaryStream& stream)
{
    uint32_t side = mSide;
    if (ErrorCode error = transferSide(stream, side))
        return error;
    uint32_t level = mLevel;
    if (ErrorCode error = stream.transferValue(level))
        return error;
    if (!stream.isReading())
        return ERROR_OK;
    Board* board = static_cast<Board*>(stream.getContext());
    if (level > kMaxLevel || board == nullptr)
        return ERROR_INVALID;
    mSide = side;
    mLevel = level;
    mBoard = board;
    init();
    return ERROR_OK;
}
