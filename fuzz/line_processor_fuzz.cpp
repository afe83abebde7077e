// libFuzzer target: arbitrary bytes, split at line feeds, run as worksheet lines through the
// line processor with in-memory views, the real function graphs and every display setting.
#include "engine/expression_engine.h"
#include "graphs/function_graphs.h"
#include "worksheet/memory_worksheet.h"
#include "worksheet/worksheet_logic.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

class NoVariableList : public quillet::VariableListView {
public:
    void refreshVariableList() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the settings and the road each line takes.
    const std::uint8_t settings = data[0];
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);

    quillet::ExpressionEngine engine;
    engine.seedRandom(settings);
    engine.setDegrees((settings & 1) == 0);
    quillet::MemoryWorksheet worksheet;
    worksheet.setShowResultsInWorksheet((settings & 2) == 0);
    quillet::FunctionGraphs graphs(engine);
    NoVariableList variableList;
    quillet::WorksheetLogic logic(engine, worksheet, worksheet, graphs, variableList);
    logic.setDisplayBase(static_cast<quillet::DisplayBase>((settings >> 2) % 3));

    int lineNumber = 0;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);

        worksheet.setCaret(worksheet.lineCount() - 1, std::string_view::npos);
        worksheet.insertAtCaret(line);
        switch (((settings >> 4) + lineNumber++) & 3) {
        case 0: // Enter
            logic.keyPressed(quillet::VirtualKey::Enter);
            worksheet.insertAtCaret("\n");
            logic.textChanged();
            break;
        case 1: // the caret leaves the line
            logic.keyPressed(quillet::VirtualKey::Up);
            break;
        case 2: // the caret arrives, or a mode button is clicked
            logic.keyReleased(quillet::VirtualKey::Down);
            break;
        default: // Insert pastes the last result, then Enter
            logic.keyPressed(quillet::VirtualKey::Insert);
            logic.keyPressed(quillet::VirtualKey::Enter);
            worksheet.insertAtCaret("\n");
            logic.textChanged();
            break;
        }
    }
    return 0;
}
