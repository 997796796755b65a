#include <filesystem>
#include <string>

#include "tests/app/export_command_fixture.h"

// The export command's texts in the Dutch build, and the Dutch layer names in
// the file it writes.

namespace {

TEST_F(ExportCommandTest, DutchRefusalQuestionResultAndFailures)
{
    export_to(Dxf2DButton, work.file("aandrijving"));
    const std::string path = work.file("aandrijving.dxf");
    ASSERT_TRUE(path_exists(path));
    const DxfFile file = parse_dxf(read_whole_file(path));
    EXPECT_EQ(count_by_layer(file, "CIRCLE")["ROL"], 106);
    EXPECT_EQ(count_by_layer(file, "POLYLINE")["BINNENSCHALM"], 53);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].text,
              std::to_string(file.entities.size()) + " curven geschreven naar\n" + path + "\n(" +
                  std::to_string(std::filesystem::file_size(path) / 1024) + " KB)");
    forget_what_was_shown();

    standin.answers.push_back(MessageAnswer::No);
    export_to(Dxf2DButton, path);
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].text, "'aandrijving.dxf' bestaat al. Overschrijven?");
    forget_what_was_shown();

    export_to(Dxf2DButton, work.file("ontbreekt/x.dxf"));
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].text, "Kan het bestand niet schrijven.\n" + work.file("ontbreekt/x.dxf"));
    forget_what_was_shown();

    user_selects(ExportScopeCombo, 2);
    run_one_pass();
    export_to(Step3DButton, work.file("aandrijving"));
    ASSERT_EQ(standin.message_boxes.size(), 1u);
    EXPECT_EQ(standin.message_boxes[0].text.rfind("1 volumes geschreven naar\n" + work.file("aandrijving.stp"), 0), 0u)
        << standin.message_boxes[0].text;
    forget_what_was_shown();

    user_types(CentreDistanceField, "10");
    run_one_pass();
    ASSERT_EQ(drive_solution.laid, 0);
    forget_what_was_shown();
    press(Step3DButton);
    expect_refused_with("Er is geen geldige opstelling om te exporteren.", MessageKind::Warning);
}

}  // namespace
