#pragma once

#include <cstdint>
#include <vector>

class GameCanvas;

// The city of bricks on the lowest cell rows of the playfield. Its size is taken from the
// shared Rows and Columns when it is built, so any screen width fits.
class cityType {
public:
    explicit cityType(int32_t baseY);

    // Row 1 is the top row of the city; columns are 1-based. Outside the city: 0.
    int brick(int row, int column) const;
    void setBrick(int row, int column, int value);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    int32_t BaseY;

    // Reseeds the generator, then each column becomes a solid stack of 0..Rows bricks.
    void Build();
    // Every brick in the city colour; leaves the brush in the playfield colour.
    void Draw(GameCanvas& canvas) const;
    // Paints the cells of one row from FirstCol up to, not including, EndCol in the playfield
    // colour. The bricks themselves are not changed.
    void EraseBricks(GameCanvas& canvas, int Row, int FirstCol, int EndCol) const;
    int BrickCount() const;
    // Top and bottom (exclusive) pixel rows of city row r.
    int32_t rowTop(int row) const;
    int32_t rowBottom(int row) const;

private:
    int m_rows = 0;
    int m_columns = 0;
    std::vector<uint8_t> m_bricks; // row-major, m_rows x m_columns
};
