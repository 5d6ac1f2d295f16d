#include "GameFixture.h"
#include "engine/Layer.h"
#include "engine/PieceTables.h"

#include <set>

namespace vorlix::test {
namespace {

// A picture such as "#./#./##" (rows top to bottom, '/' between rows) as cells in reading order
// whose bounding box starts at (left, top).
std::vector<CellPos> Shape(std::string_view picture, int left, int top)
{
    Grid cells;
    int x = left, y = top;
    for (char c : picture) {
        if (c == '/') {
            ++y;
            x = left;
            continue;
        }
        cells.set(x++, y, c == '#');
    }
    return CellsInReadingOrder(cells);
}

// The cells moved so that their bounding box starts at (1, 1).
std::vector<CellPos> Normalized(std::vector<CellPos> cells)
{
    int minX = 99, minY = 99;
    for (auto [x, y] : cells) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    for (auto &[x, y] : cells) {
        x -= minX - 1;
        y -= minY - 1;
    }
    return cells;
}

class PieceTest : public GameFixture {
protected:
    // Player 1's piece of the rule's kind in the rule's state, five rows below the spawn.
    void DealInState(const TurnRule &rule)
    {
        Deal(0, rule.Kind);
        P(0).Piece = Moved(P(0).Piece, 0, 5);
        while (P(0).Rotation != rule.From)
            ASSERT_EQ(game.RotatePiece(0), true);
    }
};

TEST_F(PieceTest, EveryKindSpawnsAtItsCells)
{
    const char *pictures[] = {"#/#/#/#", "##/##", "#./#./##", ".#/.#/##", ".#./###", "#./##/.#", ".#/##/#."};
    Start();
    for (int kind = 1; kind <= 7; ++kind) {
        Deal(0, kind);
        EXPECT_EQ(CellsInReadingOrder(P(0).Piece), Shape(pictures[kind - 1], 5, 1)) << "kind " << kind;
        EXPECT_EQ(P(0).Rotation, 0);
    }
}

// A spawn replaces the piece, whatever blocks lie at its cells, and counts a dealt piece; only
// player 1's mark a new piece for the level by pieces. Every kind and picture comes up.
TEST_F(PieceTest, SpawnCountsAndIgnoresThePit)
{
    Start(2);
    P(0).Pit = PitOf({"1 ....#....."});
    const std::int32_t pieces = state.Pieces;
    state.NewPieceSinceLevel = false;
    Deal(1, 3);
    EXPECT_FALSE(state.NewPieceSinceLevel);
    Deal(0, 1);
    EXPECT_TRUE(state.NewPieceSinceLevel);
    EXPECT_EQ(state.Pieces, pieces + 2);
    EXPECT_EQ(Drawn(P(0)), (Rows{"1 ....&.....", "2 ....@.....", "3 ....@.....", "4 ....@....."}));

    std::set<int> kinds, pictures;
    for (int i = 0; i < 2000; ++i) {
        game.SpawnPiece(0);
        kinds.insert(P(0).Kind);
        pictures.insert(P(0).Picture);
    }
    EXPECT_EQ(kinds.size(), 7u);
    EXPECT_EQ(*kinds.begin(), 1);
    EXPECT_EQ(*kinds.rbegin(), 7);
    EXPECT_EQ(pictures.size(), 20u);
    EXPECT_EQ(*pictures.begin(), 1);
    EXPECT_EQ(*pictures.rbegin(), 20);
}

// Every turn of every kind, from the spawn: the shape after each quarter turn, the state
// sequence, the pivot staying put, and the full cycle returning to the start.
TEST_F(PieceTest, TurnsFollowTheTableAndACycleReturns)
{
    struct Cycle {
        int kind;
        std::vector<const char *> shapes;
    };
    const Cycle cycles[] = {
        {1, {"####", "#/#/#/#"}},
        {3, {"###/#..", "##/.#/.#", "..#/###", "#./#./##"}},
        {4, {"#../###", "##/#./#.", "###/..#", ".#/.#/##"}},
        {5, {"#./##/#.", "###/.#.", ".#/##/.#", ".#./###"}},
        {6, {".##/##.", "#./##/.#"}},
        {7, {"##./.##", ".#/##/#."}},
    };
    for (const Cycle &cycle : cycles) {
        Start();
        Deal(0, cycle.kind);
        P(0).Piece = Moved(P(0).Piece, 0, 5);
        const Grid start = P(0).Piece;
        for (std::size_t i = 0; i < cycle.shapes.size(); ++i) {
            const TurnRule *rule = FindTurnRule(cycle.kind, P(0).Rotation);
            ASSERT_NE(rule, nullptr);
            auto pivot = CellsInReadingOrder(P(0).Piece).at(static_cast<std::size_t>(rule->K - 1));
            ASSERT_EQ(game.RotatePiece(0), true) << "kind " << cycle.kind << " turn " << i;
            auto cells = CellsInReadingOrder(P(0).Piece);
            EXPECT_EQ(Normalized(cells), Shape(cycle.shapes[i], 1, 1)) << "kind " << cycle.kind << " turn " << i;
            EXPECT_NE(std::find(cells.begin(), cells.end(), pivot), cells.end());
            EXPECT_EQ(P(0).Rotation, (i + 1) % cycle.shapes.size());
        }
        EXPECT_EQ(P(0).Piece, start) << "kind " << cycle.kind;
    }
}

// In an empty pit a turn is made exactly when every new cell lies inside the pit, except the
// upright bar, which does not turn with its column at 9.
TEST_F(PieceTest, BoundRulesAcceptExactlyTheTurnsThatFit)
{
    Start();
    for (const TurnRule &rule : TurnRules) {
        ASSERT_NO_FATAL_FAILURE(DealInState(rule));
        const Grid model = P(0).Piece;
        auto modelPivot = CellsInReadingOrder(model).at(static_cast<std::size_t>(rule.K - 1));

        for (int px = 1; px <= PitWidth; ++px) {
            for (int py = 1; py <= PitHeight; ++py) {
                Grid placed = Moved(model, px - modelPivot.x, py - modelPivot.y);
                if (placed.count() != 4)
                    continue; // this pivot position cannot hold the piece
                P(0).Piece = placed;
                P(0).Rotation = rule.From;
                bool fits = true;
                for (CellOffset o : rule.Cells)
                    fits = fits && Grid::Inside(px + o.dx, py + o.dy);
                bool expected = fits && !(rule.Kind == 1 && rule.From == 0 && px == 9);
                // A turn that does not fit is refused, which ends the pass, wherever the pivot is.
                const std::optional<bool> result = game.RotatePiece(0);
                EXPECT_EQ(result, expected)
                    << "kind " << int{rule.Kind} << " from " << int{rule.From} << " pivot " << px << "," << py;
                if (result != true) {
                    EXPECT_EQ(P(0).Piece, placed);
                    EXPECT_EQ(P(0).Rotation, rule.From);
                }
            }
        }
    }
}

TEST_F(PieceTest, ABlockOnAnyNewCellRefusesTheTurnButTheOverlappedPivotDoesNot)
{
    Start();
    for (const TurnRule &rule : TurnRules) {
        ASSERT_NO_FATAL_FAILURE(DealInState(rule));
        const Grid before = P(0).Piece;
        auto [px, py] = CellsInReadingOrder(before).at(static_cast<std::size_t>(rule.K - 1));
        for (std::size_t i = 1; i < 4; ++i) {
            P(0).Pit.clear();
            P(0).Pit.set(px + rule.Cells[i].dx, py + rule.Cells[i].dy, true);
            EXPECT_EQ(game.RotatePiece(0), false);
            EXPECT_EQ(P(0).Piece, before);
            EXPECT_EQ(P(0).Rotation, rule.From);
        }
        P(0).Pit.clear();
        P(0).Pit.set(px, py, true);
        EXPECT_EQ(game.RotatePiece(0), true);
        P(0).Pit.clear();
    }
}

// A piece falls, or moves sideways, unless a cell it would enter holds a block or lies outside
// the pit; the blocks it already overlaps do not count. A piece that cannot fall lands and
// the next one (a square here) is dealt.
TEST_F(PieceTest, MovesLookOnlyAtTheCellsThePieceEnters)
{
    enum Move { Fall, Left, Right };
    struct Case {
        const char *name;
        Rows before;
        Move move;
        Rows after;
    };
    const Case cases[] = {
        {"over an overlapped block", {"1 .....@....", "2 ....&@@..."}, Fall, {"2 ....#@....", "3 ....@@@..."}},
        {"onto a block", {"2 .....@....", "3 ....@@@...", "4 ....#....."},
         Fall, {"1 ....@@....", "2 ....@&....", "3 ....###...", "4 ....#....."}},
        {"onto the floor", {"19 .....@....", "20 ....@@@..."}, Fall, {"1 ....@@....", "2 ....@@....", "19 .....#....", "20 ....###..."}},
        {"against the left wall", {"1 @.........", "2 @........."}, Left, {"1 @.........", "2 @........."}},
        {"against a block", {"1 @.........", "2 @#........"}, Right, {"1 @.........", "2 @#........"}},
        {"past a block below the next column", {"1 @.........", "2 @.........", "3 .#........"}, Right,
         {"1 .@........", "2 .@........", "3 .#........"}},
        {"against the right wall", {"1 .........@"}, Right, {"1 .........@"}},
    };
    Start();
    for (const Case &c : cases) {
        Place(P(0), c.before);
        P(0).NextKind = 2;
        if (c.move == Fall)
            game.FallStep(0);
        else
            game.ShiftPiece(0, c.move == Left ? -1 : +1);
        EXPECT_EQ(Drawn(P(0)), c.after) << c.name;
    }
}

// Full rows go and the rows above come down in their order; every row freed at the top is a
// copy of row 1, which keeps its contents. A full row 1 is counted but stays, for the game-over
// test to find.
TEST(RemoveFullRows, RowsAboveComeDownWholeUnderCopiesOfRowOne)
{
    const std::string full(10, '#');
    struct Case {
        Rows before, removed, after;
    };
    const Case cases[] = {
        {{"1 .#........", "19 " + full, "20 .#########"}, {"19 " + full}, {"1 .#........", "2 .#........", "20 .#########"}},
        {{"17 #.........", "18 " + full, "19 ..#.......", "20 " + full},
         {"18 " + full, "20 " + full},
         {"19 #.........", "20 ..#......."}},
        {{"2 #.........", "9 #########.", "17 ##.#######", "18 " + full, "19 " + full, "20 " + full},
         {"18 " + full, "19 " + full, "20 " + full},
         {"5 #.........", "12 #########.", "20 ##.#######"}},
        {{"1 .........#", "2 #.........", "17 ##.#######", "18 " + full, "19 " + full, "20 " + full},
         {"18 " + full, "19 " + full, "20 " + full},
         {"1 .........#", "2 .........#", "3 .........#", "4 .........#", "5 #.........", "20 ##.#######"}},
        {{"1 " + full}, {"1 " + full}, {"1 " + full}},
        {{"1 " + full, "20 " + full}, {"1 " + full, "20 " + full}, {"1 " + full, "2 " + full}},
    };
    for (const Case &c : cases) {
        Grid pit = PitOf(c.before);
        EXPECT_EQ(Drawn(RemoveFullRows(pit)), c.removed) << testing::PrintToString(c.before);
        EXPECT_EQ(Drawn(pit), c.after) << testing::PrintToString(c.before);
    }
}

TEST(GarbageRow, RowsRiseRowOneIsLostAndTheHoleIsOpen)
{
    Grid pit = PitOf({"1 ..#.......", "19 #.........", "20 ..#......."});
    PushGarbageRow(pit, 4);
    EXPECT_EQ(Drawn(pit), (Rows{"18 #.........", "19 ..#.......", "20 ###.######"}));
}

} // namespace
} // namespace vorlix::test
