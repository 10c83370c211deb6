#pragma once
// Tables whose rows carry their own id, so that a row out of place fails the build.

// The first row whose id is not its place; the row count when every row stands in its place.
template <typename Row, unsigned count>
constexpr unsigned firstRowOutOfPlace(const Row (&rows)[count], unsigned row = 0)
{
    return row < count && unsigned(rows[row].id) == row ? firstRowOutOfPlace(rows, row + 1) : row;
}
