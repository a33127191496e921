#include "game/cityType.h"

#include "game/GameCanvas.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"

cityType::cityType(int32_t baseY) : BaseY(baseY) {
    Build();
}

int cityType::brick(int row, int column) const {
    if (row < 1 || row > m_rows || column < 1 || column > m_columns) return 0;
    return m_bricks[size_t((row - 1) * m_columns + (column - 1))];
}

void cityType::setBrick(int row, int column, int value) {
    if (row < 1 || row > m_rows || column < 1 || column > m_columns) return;
    m_bricks[size_t((row - 1) * m_columns + (column - 1))] = value ? 1 : 0;
}

void cityType::Build() {
    GameRandom::Randomize();
    m_rows = std::max(0, game::Rows);
    m_columns = std::max(0, game::Columns);
    m_bricks.assign(size_t(m_rows) * size_t(m_columns), 0);
    for (int c = 1; c <= m_columns; ++c)
        setBrick(1, c, Chance(40));
    for (int r = 2; r <= m_rows; ++r)
        for (int c = 1; c <= m_columns; ++c)
            setBrick(r, c, brick(r - 1, c) == 1 ? 1 : Chance(40));
}

int32_t cityType::rowTop(int row) const {
    return BaseY - (m_rows - row + 1) * game::CellSize;
}
int32_t cityType::rowBottom(int row) const {
    return BaseY - (m_rows - row) * game::CellSize;
}

void cityType::Draw(GameCanvas& canvas) const {
    const int cell = game::CellSize;
    canvas.setBrushColor(game::CityColor);
    for (int r = 1; r <= m_rows; ++r)
        for (int c = 1; c <= m_columns; ++c)
            if (brick(r, c) == 1) canvas.FillRect((c - 1) * cell, rowTop(r), c * cell, rowBottom(r));
    canvas.setBrushColor(game::PlayfieldColor);
}

void cityType::EraseBricks(GameCanvas& canvas, int Row, int FirstCol, int EndCol) const {
    canvas.setBrushColor(game::PlayfieldColor);
    canvas.FillRect((FirstCol - 1) * game::CellSize, rowTop(Row), (EndCol - 1) * game::CellSize,
                    rowBottom(Row));
}

int cityType::BrickCount() const {
    int count = 0;
    for (uint8_t b : m_bricks)
        count += b == 1;
    return count;
}
