#pragma once
// Reads a planned page back as shapes, with the pen and font in effect.
#include <vector>

#include "printing/page_steps.h"

struct PlannedLine {
    int x0, y0, x1, y1;
    PrinterPen pen;
};
struct PlannedText {
    int x, y;
    std::string text;
    int escapement;  // -1 before any font was selected
};
struct PlannedPixel {
    int x, y;
};
struct PlannedPenChoice {
    PrinterPen pen;
    int fatalErrorNumber;
};

struct PageTrace {
    std::vector<PlannedLine> lines;
    std::vector<PlannedText> texts;
    std::vector<PlannedPixel> pixels;
    std::vector<PlannedPenChoice> pens;
    std::vector<int> fonts;

    explicit PageTrace(const PageSteps& steps)
    {
        PrinterPen pen = PrinterPen::Black5;
        int escapement = -1;
        int x = 0, y = 0;
        for (const PageStep& step : steps) {
            switch (step.kind) {
            case PageStep::SelectPen:
                pen = step.pen;
                pens.push_back({step.pen, step.fatalErrorNumber});
                break;
            case PageStep::SelectFont:
                escapement = step.escapement;
                fonts.push_back(escapement);
                break;
            case PageStep::MoveTo:
                x = step.x;
                y = step.y;
                break;
            case PageStep::LineTo:
                lines.push_back({x, y, step.x, step.y, pen});
                x = step.x;
                y = step.y;
                break;
            case PageStep::BlackPixel:
                pixels.push_back({step.x, step.y});
                break;
            case PageStep::Text:
                texts.push_back({step.x, step.y, step.text, escapement});
                break;
            }
        }
    }

    std::vector<PlannedLine> linesWith(PrinterPen wanted) const
    {
        std::vector<PlannedLine> out;
        for (const PlannedLine& line : lines)
            if (line.pen == wanted) out.push_back(line);
        return out;
    }
};
