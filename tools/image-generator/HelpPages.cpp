// The two help pages, 1024 x 768: the rules in French, laid out in two
// columns on parchment from the texts of assets/help. The lower right corner
// stays free for the "next" button the help window puts at (880, 671).
#include "ImageDrawing.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace Raster;

namespace
{

constexpr float kPageWidth = 1024, kPageHeight = 768;
constexpr float kColumnWidth = 430;
constexpr float kColumnX[2] = {64, 530};
constexpr float kColumnTop = 116;
// The right column stops above the button (880, 671) and, on the second
// page, above the link to the full rules.
constexpr float kColumnBottom[2] = {728, 668};
constexpr float kLinkColumnBottom = 652;
// The rules link of the second page: the area the game description's
// tutorial link group makes clickable (assets/game.xml).
constexpr float kRulesLink[4] = {530, 664, 330, 44};
constexpr float kBodySize = 16.5f, kLineHeight = 21.5f, kHeadingSize = 22;

struct Word
{
    std::string text;
    bool bold;
    bool glued; // no space before the next word
};

// Words split at blanks; "**" switches bold on and off anywhere, and the
// pieces of one word stay glued together.
std::vector<Word> splitWords(const std::string& line)
{
    std::vector<Word> words;
    bool bold = false;
    // Only ASCII blanks separate words: the no-break space before ":" or
    // ";" keeps the sign with its word, as French typography wants.
    size_t position = 0;
    while (position < line.size())
    {
        size_t begin = line.find_first_not_of(" \t", position);
        if (begin == std::string::npos)
            break;
        size_t finish = line.find_first_of(" \t", begin);
        std::string token =
            line.substr(begin, finish == std::string::npos ? std::string::npos : finish - begin);
        position = finish == std::string::npos ? line.size() : finish;
        size_t start = 0;
        while (true)
        {
            size_t marker = token.find("**", start);
            std::string piece =
                token.substr(start, marker == std::string::npos ? std::string::npos : marker - start);
            if (!piece.empty())
                words.push_back({piece, bold, true});
            if (marker == std::string::npos)
                break;
            bold = !bold;
            start = marker + 2;
        }
        if (!words.empty())
            words.back().glued = false;
    }
    return words;
}

struct PageLayout
{
    Canvas& page;
    const Theme& theme;
    ImageFonts& fonts;
    int column = 0;
    float y = kColumnTop;
    bool overflow = false;
    bool hasLink = false;

    float x() const { return kColumnX[column]; }
    void need(float height)
    {
        if (y + height > (column == 1 && hasLink ? kLinkColumnBottom : kColumnBottom[column]))
            overflow = true;
    }

    // Lays words out in lines within the column, from x + indent.
    void paragraph(const std::vector<Word>& words, float indent, Color color)
    {
        float spaceWidth;
        fonts.serif.setSize(kBodySize);
        spaceWidth = fonts.serif.measure(" ");
        float lineX = 0;
        std::vector<std::pair<Word, float>> line;
        auto flush = [&]
        {
            need(kLineHeight);
            for (const auto& [word, wx] : line)
            {
                Typeface& face = word.bold ? fonts.serifBold : fonts.serif;
                face.setSize(kBodySize);
                face.draw(page, word.text, x() + indent + wx, y + kBodySize,
                          word.bold ? theme.p["lacquer.mid"] : color);
            }
            line.clear();
            lineX = 0;
            y += kLineHeight;
        };
        // Glued pieces move to the next line together.
        for (size_t i = 0; i < words.size();)
        {
            size_t end = i;
            float groupWidth = 0;
            std::vector<float> widths;
            while (true)
            {
                Typeface& face = words[end].bold ? fonts.serifBold : fonts.serif;
                face.setSize(kBodySize);
                widths.push_back(face.measure(words[end].text));
                groupWidth += widths.back();
                if (!words[end].glued || end + 1 == words.size())
                    break;
                ++end;
            }
            if (!line.empty() && lineX + groupWidth > kColumnWidth - indent)
                flush();
            for (size_t k = i; k <= end; ++k)
            {
                line.push_back({words[k], lineX});
                lineX += widths[k - i];
            }
            lineX += spaceWidth;
            i = end + 1;
        }
        if (!line.empty())
            flush();
        y += 6;
    }

    void heading(const std::string& text)
    {
        y += 3;
        need(kHeadingSize + 12);
        fonts.serifBold.setSize(kHeadingSize);
        fonts.serifBold.draw(page, text, x(), y + kHeadingSize, theme.p["lacquer.mid"]);
        float w = fonts.serifBold.measure(text);
        // A gold rule after the heading.
        float ry = y + kHeadingSize * 0.62f;
        page.fill(
            x() + w + 10, ry - 2, x() + kColumnWidth, ry + 2,
            [&](float px, float py)
            { return sdSegment(px, py, x() + w + 12, ry, x() + kColumnWidth - 2, ry) - 0.9f; },
            [&](float px, float)
            { return theme.gold(0.4f).withAlpha(1.0f - (px - x() - w) / (kColumnWidth - w) * 0.8f); });
        y += kHeadingSize + 10;
    }

    void bullet(const std::string& text)
    {
        float cx = x() + 8, cy = y + kBodySize * 0.62f;
        theme.goldShape(
            page, cx - 5, cy - 5, cx + 5, cy + 5,
            [&](float px, float py) { return (std::fabs(px - cx) + std::fabs(py - cy)) * 0.7071f - 3.2f; },
            ButtonState::Released, 0.8f);
        paragraph(splitWords(text), 22, theme.p["ink"]);
        y -= 3;
    }

    void picture(const Canvas& c)
    {
        need(c.height() + 12);
        float px = x() + (kColumnWidth - c.width()) / 2;
        page.draw(c.shadow({0, 0, 0, 0.45f}, 5, 2, 4), static_cast<int>(px), static_cast<int>(y + 4));
        page.draw(c, static_cast<int>(px), static_cast<int>(y + 4));
        y += c.height() + 14;
    }
};

// A gold arrow from a (less a gap) to b, its head at b.
void arrow(Canvas& c, const Theme& theme, Point a, Point b, float startGap)
{
    float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    dx /= len, dy /= len;
    a = {a.x + dx * startGap, a.y + dy * startGap};
    Point tip = b, back = {b.x - dx * 14, b.y - dy * 14};
    std::vector<Point> head = {tip, {back.x - dy * 9, back.y + dx * 9}, {back.x + dy * 9, back.y - dx * 9}};
    theme.goldShape(
        c, std::min(a.x, b.x) - 12, std::min(a.y, b.y) - 12, std::max(a.x, b.x) + 12, std::max(a.y, b.y) + 12,
        [&](float x, float y)
        { return std::min(sdSegment(x, y, a.x, a.y, back.x, back.y) - 3.0f, sdPolygon(x, y, head)); },
        ButtonState::Released, 1.3f);
}

Canvas piecesRow(const Theme& theme, ImageFonts& fonts)
{
    Canvas c(static_cast<int>(kColumnWidth), 128);
    for (int rank = 0; rank < 8; ++rank)
    {
        float slot = kColumnWidth / 4;
        float cx = (rank % 4) * slot + slot / 2, top = (rank / 4) * 64.0f;
        Canvas icon = pieceIcon(theme, fonts, rank, rank % 2, 104);
        c.drawScaled(icon, cx - 23, top, 46, 46);
        std::string label = std::to_string(rank + 1) + ". " + kAnimalNames[rank];
        fonts.serifBold.setSize(15);
        float w = fonts.serifBold.measure(label);
        fonts.serifBold.draw(c, label, cx - w / 2, top + 60, theme.p["ink"]);
    }
    return c;
}

Point cellCentre(int cell, int x, int y)
{
    float border = static_cast<float>(cell / 4);
    return {border + (x + 0.5f) * cell, border + (y + 0.5f) * cell};
}

void placePiece(Canvas& board, const Theme& theme, ImageFonts& fonts, int cell, int rank, int side, int x,
                int y)
{
    Point p = cellCentre(cell, x, y);
    Canvas icon = pieceIcon(theme, fonts, rank, side, cell * 2);
    board.drawScaled(icon, p.x - cell * 0.44f, p.y - cell * 0.44f, cell * 0.88f, cell * 0.88f);
}

Canvas jumpsDiagram(const Theme& theme, ImageFonts& fonts)
{
    const int cell = 36;
    Canvas board = boardDiagram(theme, fonts, cell, false);
    placePiece(board, theme, fonts, cell, 6, 0, 2, 1); // lion jumping along the lake
    placePiece(board, theme, fonts, cell, 5, 0, 4, 0); // tiger jumping across it
    placePiece(board, theme, fonts, cell, 6, 1, 6, 4); // a lion blocked by the rat
    placePiece(board, theme, fonts, cell, 0, 0, 4, 4);
    arrow(board, theme, cellCentre(cell, 2, 1), cellCentre(cell, 6, 1), cell * 0.45f);
    arrow(board, theme, cellCentre(cell, 4, 0), cellCentre(cell, 4, 3), cell * 0.45f);
    Point a = cellCentre(cell, 6, 4), b = cellCentre(cell, 2, 4);
    a.y -= cell * 0.28f, b.y -= cell * 0.28f;
    arrow(board, theme, a, b, cell * 0.3f);
    Point x = cellCentre(cell, 5, 4);
    board.fill(
        x.x - 12, x.y - 22, x.x + 12, x.y + 2,
        [&](float px, float py)
        {
            float cy = x.y - cell * 0.28f;
            return std::min(sdSegment(px, py, x.x - 8, cy - 8, x.x + 8, cy + 8),
                            sdSegment(px, py, x.x - 8, cy + 8, x.x + 8, cy - 8)) -
                   3.0f;
        },
        [&](float, float) { return Color::rgb(0xC0281C); });
    return board;
}

Canvas trapsDiagram(const Theme& theme, ImageFonts& fonts)
{
    const int cell = 50;
    Canvas board = boardDiagram(theme, fonts, cell, false);
    placePiece(board, theme, fonts, cell, 7, 1, 1, 3); // an enemy elephant on a white trap
    placePiece(board, theme, fonts, cell, 1, 0, 2, 3); // the white cat takes it
    Point from = cellCentre(cell, 2, 3), to = cellCentre(cell, 1, 3);
    from.y -= cell * 0.3f, to.y -= cell * 0.3f;
    arrow(board, theme, from, to, 0);
    int border = cell / 4;
    return board.crop(0, border + 2 * cell - 4, border + 4 * cell, 3 * cell + 8);
}

bool drawPage(Canvas& page, const Theme& theme, ImageFonts& fonts, const std::string& path, int number)
{
    std::ifstream in(path);
    if (!in)
    {
        std::fprintf(stderr, "image-generator: cannot read %s\n", path.c_str());
        return false;
    }
    // Parchment with a lacquer border.
    page.setAll([&](float x, float y) { return theme.parchment(x, y, 1.0f, 5 + number); });
    page.fill(
        0, 0, kPageWidth, kPageHeight,
        [&](float x, float y) { return -sdRoundBox(x, y, 16, 16, kPageWidth - 32, kPageHeight - 32, 14); },
        [&](float x, float y)
        {
            float d = sdRoundBox(x, y, 16, 16, kPageWidth - 32, kPageHeight - 32, 14);
            return d < 3 ? theme.gold(d / 3) : theme.lacquer(0.3f + 0.5f * y / kPageHeight);
        });
    page.fill(
        16, 16, kPageWidth - 16, kPageHeight - 16,
        [&](float x, float y)
        { return std::fabs(sdRoundBox(x, y, 26, 26, kPageWidth - 52, kPageHeight - 52, 8)) - 0.8f; },
        [&](float, float) { return theme.gold(0.5f).withAlpha(0.8f); });
    // Darker parchment at the edges, as on an old sheet.
    page.fillAll(
        [&](float x, float y)
        {
            float edge = std::min(std::min(x, y), std::min(kPageWidth - x, kPageHeight - y));
            return theme.p["parchment.dark"].withAlpha(0.45f * (1 - smoothstep(16, 90, edge)));
        });

    PageLayout layout{page, theme, fonts};
    layout.hasLink = number == 2;
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.rfind("# ", 0) == 0)
        {
            Canvas banner(560, 84);
            theme.lacquerPlaque(banner, 10, 8, 540, 68, 16, 4);
            theme.goldText(banner, fonts.display, line.substr(2), 280, 42, 38, 500);
            page.draw(banner.shadow({0, 0, 0, 0.5f}, 5, 0, 3), 232, 20);
            page.draw(banner, 232, 20);
        }
        else if (line.rfind("## ", 0) == 0)
            layout.heading(line.substr(3));
        else if (line.rfind("- ", 0) == 0)
            layout.bullet(line.substr(2));
        else if (line == "[colonne]")
        {
            layout.column = 1;
            layout.y = kColumnTop;
        }
        else if (line == "[plateau]")
            layout.picture(boardDiagram(theme, fonts, 36, true));
        else if (line == "[pieces]")
            layout.picture(piecesRow(theme, fonts));
        else if (line == "[sauts]")
            layout.picture(jumpsDiagram(theme, fonts));
        else if (line == "[pieges]")
            layout.picture(trapsDiagram(theme, fonts));
        else
            layout.paragraph(splitWords(line), 0, theme.p["ink"]);
    }
    if (layout.hasLink)
    {
        // Underlined like a web link, centred in its area.
        const std::string text = "Lire les règles complètes";
        fonts.serifItalic.setSize(21);
        float width = fonts.serifItalic.measure(text);
        float x = kRulesLink[0] + (kRulesLink[2] - width) / 2;
        float baseline = kRulesLink[1] + kRulesLink[3] / 2 + 6;
        Color link = theme.p["lacquer.dark"];
        fonts.serifItalic.draw(page, text, x, baseline, link);
        page.fill(
            x, baseline + 2, x + width, baseline + 5,
            [&](float px, float py)
            { return sdSegment(px, py, x, baseline + 3.5f, x + width, baseline + 3.5f) - 0.8f; },
            [&](float, float) { return link; });
    }
    fonts.serifItalic.setSize(16);
    std::string folio = std::to_string(number) + " / 2";
    fonts.serifItalic.draw(page, folio, (kPageWidth - fonts.serifItalic.measure(folio)) / 2, 741,
                           theme.p["ink"].withAlpha(0.7f));
    if (layout.overflow)
    {
        std::fprintf(stderr, "image-generator: %s does not fit its page\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

void drawHelpPages(ImageWriter& out, const Theme& theme, ImageFonts& fonts, const std::string& helpFolder)
{
    for (int number = 1; number <= 2; ++number)
    {
        Canvas page(static_cast<int>(kPageWidth), static_cast<int>(kPageHeight));
        if (!drawPage(page, theme, fonts, helpFolder + "/page" + std::to_string(number) + ".txt", number))
            out.ok = false;
        out.jpeg(page, "TutorialPage" + std::to_string(number) + ".jpg");
    }
}
