#include "printing/printed_nmea_table_text.h"

#include <cstdint>

#include "settings/ui_text.h"

int printedNmeaPitch(long tmHeight, long tmExternalLeading)
{
    return static_cast<int>(tmHeight + tmExternalLeading + 2);
}

bool printedNmeaRowFits(int pageWidth, int charWidth)
{
    return printedRowIndent + int64_t{printedRowLength} * charWidth <= pageWidth;
}

int printedNmeaFittedCharWidth(int pageWidth)
{
    int width = (pageWidth - 2 * printedRowIndent) / printedRowLength;
    return width > 1 ? width : 1;
}

int printedNmeaFittedHeight(int defaultHeight, int defaultCharWidth, int fittedCharWidth)
{
    if (defaultHeight <= 0 || defaultCharWidth <= 0) return fittedCharWidth * 2;  // a usual cell shape
    int64_t height = int64_t{defaultHeight} * fittedCharWidth / defaultCharWidth;
    return height < 1 ? 1 : height > defaultHeight ? defaultHeight : static_cast<int>(height);
}

int printedNmeaRows(int pageHeight, int pitch)
{
    if (pitch == 0) return 10;
    // In 64 bits, so that no page height and pitch can overflow the division.
    int64_t rows = static_cast<int64_t>(pageHeight) / pitch - 5;
    return static_cast<int>(rows < INT32_MIN ? INT32_MIN : rows > INT32_MAX ? INT32_MAX : rows);
}

std::string printedNmeaRowText(const char* line)
{
    std::string text;
    for (size_t i = 0; i < nmeaLineSize && line[i] != '\0' && text.size() < printedRowLength; ++i) {
        auto byte = static_cast<unsigned char>(line[i]);
        text += byte < 0x20 || byte > 0x7F ? ' ' : static_cast<char>(byte);
    }
    text.resize(printedRowLength, ' ');
    return text;
}

DrawingPlan printedNmeaTableSteps(int pageHeight, int pitch, const NmeaLineStore& store)
{
    DrawingPlan steps;
    DrawingStep heading;
    heading.kind = DrawingStep::Text;
    heading.x = printedRowIndent;
    heading.y = 0;
    heading.text = uiText(txtPrintedNmeaHeading);
    steps.push_back(heading);
    int rows = printedNmeaRows(pageHeight, pitch);
    for (int i = 0; i < rows && i < static_cast<int>(nmeaLineCount); ++i) {
        // A line that is not a sentence still keeps its row free.
        if (!beginsNmeaSentence(store.lines[i])) continue;
        DrawingStep row;
        row.kind = DrawingStep::Text;
        row.x = printedRowIndent;
        row.y = 3 * pitch + i * pitch;
        row.text = printedNmeaRowText(store.lines[i]);
        steps.push_back(row);
    }
    return steps;
}
