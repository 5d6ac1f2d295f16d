#include "GameFixture.h"
#include "engine/Layer.h"
#include "engine/PieceTables.h"

#include <set>

namespace vorlix::test {
namespace {

// A picture such as "#./#./##" (rows top to bottom, '/' between rows) as cells whose bounding
// box starts at (left, top).
std::vector<std::pair<int, int>> Shape(std::string_view picture, int left, int top)
{
    std::vector<std::pair<int, int>> cells;
    int x = left, y = top;
    for (char c : picture) {
        if (c == '/') {
            ++y;
            x = left;
            continue;
        }
        if (c == '#')
            cells.emplace_back(x, y);
        ++x;
    }
    std::sort(cells.begin(), cells.end(), [](auto a, auto b) { return std::pair(a.second, a.first) < std::pair(b.second, b.first); });
    return cells;
}

// The cells moved so that their bounding box starts at (1, 1).
std::vector<std::pair<int, int>> Normalized(std::vector<std::pair<int, int>> cells)
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
            ASSERT_EQ(game.RotatePiece(0), TurnResult::Made);
    }
};

TEST_F(PieceTest, EveryKindSpawnsAtItsCells)
{
    const char *pictures[] = {"#/#/#/#", "##/##", "#./#./##", ".#/.#/##", ".#./###", "#./##/.#", ".#/##/#."};
    Start();
    for (int kind = 1; kind <= 7; ++kind) {
        Deal(0, kind);
        EXPECT_EQ(CellsOf(P(0).Piece), Shape(pictures[kind - 1], 5, 1)) << "kind " << kind;
        EXPECT_EQ(P(0).Rotation, 0);
    }
}

TEST_F(PieceTest, SpawnCountsDrawsAndIgnoresThePit)
{
    Start();
    P(0).Pit = PitFromRows({});
    P(0).Pit.set(5, 1, true);
    std::int32_t pieces = state.Pieces;
    state.NewPieceSinceLevel = false;
    Random expected = state.Rng;
    std::uint8_t picture = static_cast<std::uint8_t>(expected(20) + 1);
    std::uint8_t next = static_cast<std::uint8_t>(expected(7) + 1);

    Deal(0, 1);
    EXPECT_EQ(state.Pieces, pieces + 1);
    EXPECT_TRUE(state.NewPieceSinceLevel);
    EXPECT_EQ(P(0).Picture, picture);
    EXPECT_EQ(P(0).NextKind, next);
    EXPECT_EQ(P(0).Piece.count(), 4); // on top of the block

    state.NewPieceSinceLevel = false;
    settings.NumberOfPlayers = 2;
    Deal(1, 3);
    EXPECT_FALSE(state.NewPieceSinceLevel); // only player 1's spawns mark it
    EXPECT_EQ(state.Pieces, pieces + 2);

    // Every one of the 7 kinds and 20 pictures comes up, and nothing else.
    std::set<int> kinds, pictures;
    for (int i = 0; i < 2000; ++i) {
        game.ClearPiece(0);
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
            auto pivot = CellsOf(P(0).Piece).at(static_cast<std::size_t>(rule->K - 1));
            ASSERT_EQ(game.RotatePiece(0), TurnResult::Made) << "kind " << cycle.kind << " turn " << i;
            auto cells = CellsOf(P(0).Piece);
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
        auto modelPivot = CellsOf(model).at(static_cast<std::size_t>(rule.K - 1));

        for (int px = 1; px <= PitWidth; ++px) {
            for (int py = 1; py <= PitHeight; ++py) {
                Grid placed = Moved(model, px - modelPivot.first, py - modelPivot.second);
                if (placed.count() != 4)
                    continue; // this pivot position cannot hold the piece
                P(0).Piece = placed;
                P(0).Rotation = rule.From;
                bool fits = true;
                for (CellOffset o : rule.Cells)
                    fits = fits && Grid::Inside(px + o.dx, py + o.dy);
                bool expected = fits && !(rule.Kind == 1 && rule.From == 0 && px == 9);
                // A turn that does not fit is refused, which ends the pass, wherever the pivot is.
                TurnResult result = game.RotatePiece(0);
                EXPECT_EQ(result, expected ? TurnResult::Made : TurnResult::Refused)
                    << "kind " << int{rule.Kind} << " from " << int{rule.From} << " pivot " << px << "," << py;
                if (result != TurnResult::Made) {
                    EXPECT_EQ(P(0).Piece, placed);
                    EXPECT_EQ(P(0).Rotation, rule.From);
                }
            }
        }
    }
}

TEST_F(PieceTest, UprightBarTurnsOnlyInColumnsThreeToEight)
{
    Start();
    for (int column = 1; column <= 10; ++column) {
        Deal(0, 1);
        P(0).Piece = Moved(P(0).Piece, column - 5, 0);
        TurnResult result = game.RotatePiece(0);
        EXPECT_EQ(result == TurnResult::Made, column >= 3 && column <= 8) << "column " << column;
        if (column == 3) {
            EXPECT_EQ(CellsOf(P(0).Piece), Shape("####", 1, 2));
        }
        if (column == 8) {
            EXPECT_EQ(CellsOf(P(0).Piece), Shape("####", 6, 2));
        }
    }
}

TEST_F(PieceTest, KindSixAgainstTheRightWallDoesNotTurn)
{
    Start();
    Deal(0, 6);
    P(0).Piece = Moved(P(0).Piece, 4, 0); // right column at 10
    const Grid before = P(0).Piece;
    EXPECT_EQ(game.RotatePiece(0), TurnResult::Refused);
    EXPECT_EQ(P(0).Piece, before);
}

TEST_F(PieceTest, ABlockOnAnyNewCellRefusesTheTurnButTheOverlappedPivotDoesNot)
{
    Start();
    for (const TurnRule &rule : TurnRules) {
        ASSERT_NO_FATAL_FAILURE(DealInState(rule));
        const Grid before = P(0).Piece;
        auto [px, py] = CellsOf(before).at(static_cast<std::size_t>(rule.K - 1));
        for (std::size_t i = 1; i < 4; ++i) {
            P(0).Pit.clear();
            P(0).Pit.set(px + rule.Cells[i].dx, py + rule.Cells[i].dy, true);
            EXPECT_EQ(game.RotatePiece(0), TurnResult::Refused);
            EXPECT_EQ(P(0).Piece, before);
            EXPECT_EQ(P(0).Rotation, rule.From);
        }
        P(0).Pit.clear();
        P(0).Pit.set(px, py, true);
        EXPECT_EQ(game.RotatePiece(0), TurnResult::Made);
        P(0).Pit.clear();
    }
}

TEST_F(PieceTest, SquareHasNoTurn)
{
    Start();
    Deal(0, 2);
    const Grid before = P(0).Piece;
    EXPECT_EQ(game.RotatePiece(0), TurnResult::NoPivot);
    EXPECT_EQ(P(0).Piece, before);
    EXPECT_EQ(P(0).Rotation, 0);
}

TEST_F(PieceTest, FallLooksOnlyBelowThePieceAndPassesOverOverlappedBlocks)
{
    Start();
    Deal(0, 5); // .#. / ### in rows 1..2
    P(0).Pit.set(5, 2, true); // overlapped, with no piece cell above it
    EXPECT_TRUE(game.FallStep(0));
    EXPECT_EQ(CellsOf(P(0).Piece), Shape(".#./###", 5, 2));
    EXPECT_TRUE(P(0).Pit.at(5, 2));

    P(0).Pit.set(5, 4, true); // directly below a cell
    std::int32_t pieces = state.Pieces;
    EXPECT_FALSE(game.FallStep(0));
    EXPECT_FALSE(P(0).CanFall);
    EXPECT_EQ(RowsOf(P(0).Pit, 1).at(0), "..........");
    EXPECT_EQ(RowsOf(P(0).Pit, 2).at(0), "....##....");
    EXPECT_EQ(RowsOf(P(0).Pit, 3).at(0), "....###...");
    EXPECT_EQ(P(0).Pit.count(), 6);
    EXPECT_EQ(state.Pieces, pieces + 1);
    EXPECT_EQ(P(0).Piece.count(), 4);
}

TEST_F(PieceTest, ThePieceLandsOnTheFloor)
{
    Start();
    Deal(0, 5);
    P(0).Piece = Moved(P(0).Piece, 0, 18); // rows 19, 20
    EXPECT_FALSE(game.FallStep(0));
    EXPECT_EQ(RowsOf(P(0).Pit, 19), (std::vector<std::string>{".....#....", "....###..."}));
}

TEST_F(PieceTest, SidewaysMovesStopAtWallsAndBlocks)
{
    Start();
    Deal(0, 1);
    for (int i = 0; i < 9; ++i)
        game.ShiftPiece(0, -1);
    EXPECT_TRUE(P(0).Piece.at(1, 1));
    EXPECT_FALSE(game.ShiftPiece(0, -1));
    P(0).Pit.set(2, 4, true);
    EXPECT_FALSE(game.ShiftPiece(0, +1));
    EXPECT_EQ(CellsOf(P(0).Piece), Shape("#/#/#/#", 1, 1));

    // Only the cells beside the piece count, not the ones below them.
    P(0).Pit.clear();
    P(0).Pit.set(2, 5, true);
    EXPECT_TRUE(game.ShiftPiece(0, +1));
    EXPECT_EQ(CellsOf(P(0).Piece), Shape("#/#/#/#", 2, 1));
}

// Full rows go and the rows above come down in their order; every row freed at the top is a
// copy of row 1, which keeps its contents. A full row 1 is counted but stays, for the game-over
// test to find.
TEST(RemoveFullRows, RowsAboveComeDownWholeUnderCopiesOfRowOne)
{
    const std::string full(10, '#');
    struct Case {
        NumberedRows before;
        int removed;
        NumberedRows after;
    };
    const Case cases[] = {
        {{{1, ".#........"}, {19, full}, {20, "#........."}}, 1, {{1, ".#........"}, {2, ".#........"}, {20, "#........."}}},
        {{{17, "#........."}, {18, full}, {19, "..#......."}, {20, full}}, 2, {{19, "#........."}, {20, "..#......."}}},
        {{{2, "#........."}, {9, "#########."}, {17, "##.#######"}, {18, full}, {19, full}, {20, full}},
         3,
         {{5, "#........."}, {12, "#########."}, {20, "##.#######"}}},
        {{{1, ".........#"}, {2, "#........."}, {17, "##.#######"}, {18, full}, {19, full}, {20, full}},
         3,
         {{1, ".........#"}, {2, ".........#"}, {3, ".........#"}, {4, ".........#"}, {5, "#........."}, {20, "##.#######"}}},
        {{{1, full}}, 1, {{1, full}}},
        {{{1, full}, {20, full}}, 2, {{1, full}, {2, full}}},
    };
    for (const Case &c : cases) {
        Grid pit = PitOfNumbered(c.before);
        EXPECT_EQ(RemoveFullRows(pit), c.removed);
        EXPECT_EQ(RowsOf(pit), RowsOf(PitOfNumbered(c.after))) << "from " << testing::PrintToString(RowsOf(PitOfNumbered(c.before)));
    }
}

TEST(GarbageRow, RowsRiseRowOneIsLostAndTheHoleIsOpen)
{
    Grid pit = PitOfNumbered({{1, "..#......."}, {19, "#........."}, {20, "..#......."}});
    PushGarbageRow(pit, 4);
    EXPECT_EQ(RowsOf(pit), RowsOf(PitOfNumbered({{18, "#........."}, {19, "..#......."}, {20, "###.######"}})));
}

} // namespace
} // namespace vorlix::test
