#include <gtest/gtest.h>

#include <sys/stat.h>

#include "export/export.h"
#include "files/path_name.h"
#include "tests/export/export_support.h"

namespace {

TEST(ExportProposal, NameWithoutProjectOrFolder)
{
    EXPECT_EQ(propose_export_path(Step3D, "", ""), "zandrel_3d.stp");
    EXPECT_EQ(propose_export_path(Stl, "", ""), "zandrel.stl");
    EXPECT_EQ(propose_export_path(Dxf2D, "", ""), "zandrel.dxf");
    EXPECT_EQ(propose_export_path(Step2D, "", ""), "zandrel.stp");
    EXPECT_EQ(propose_export_path(Dxf3D, "", ""), "zandrel_3d.dxf");
}

TEST(ExportProposal, ProjectNameInTheExportFolder)
{
    EXPECT_EQ(propose_export_path(Dxf3D, "/home/ann/exports/", "/home/ann/projects/gearbox.zdr"),
              "/home/ann/exports/gearbox_3d.dxf");
    EXPECT_EQ(propose_export_path(Stl, "/home/ann/exports/", "/home/ann/projects/gearbox.zdr"),
              "/home/ann/exports/gearbox.stl");
    // Without a stored folder the name stands alone; only the last extension goes.
    EXPECT_EQ(propose_export_path(Dxf2D, "", "/home/ann/projects/drive.v2.zdr"), "drive.v2.dxf");
    EXPECT_EQ(propose_export_path(Step2D, "", "/home/ann/my.projects/drive"), "drive.stp");
}

TEST(ExportExtension, AppendedOnlyWhenTheNameHasNone)
{
    EXPECT_EQ(with_export_extension("/tmp/drive", Dxf2D), "/tmp/drive.dxf");
    EXPECT_EQ(with_export_extension("/tmp/drive", Stl), "/tmp/drive.stl");
    EXPECT_EQ(with_export_extension("/tmp/drive", Step3D), "/tmp/drive.stp");
    EXPECT_EQ(with_export_extension("/tmp/drive.txt", Dxf2D), "/tmp/drive.txt");
    EXPECT_EQ(with_export_extension("/tmp/drive.DXF", Dxf2D), "/tmp/drive.DXF");
    EXPECT_EQ(with_export_extension("/tmp/drive.step", Step2D), "/tmp/drive.step");
    // A dot in a folder's name or at the start of the file name is no extension.
    EXPECT_EQ(with_export_extension("/tmp/v1.2/drive", Dxf2D), "/tmp/v1.2/drive.dxf");
    EXPECT_EQ(with_export_extension("/tmp/.drive", Dxf2D), "/tmp/.drive.dxf");
    // Nothing after the last dot is an empty extension.
    EXPECT_EQ(with_export_extension("/tmp/drive.", Dxf2D), "/tmp/drive..dxf");
}

TEST(ExportDialog, TitlesAndFilters)
{
    EXPECT_EQ(export_dialog_title(Dxf2D), "Export DXF");
    EXPECT_EQ(export_dialog_title(Dxf3D), "Export DXF");
    EXPECT_EQ(export_dialog_title(Step2D), "Export STP");
    EXPECT_EQ(export_dialog_title(Stl), "Export STL");
    EXPECT_EQ(export_dialog_filter(Dxf3D), "DXF R12 (*.dxf)|*.dxf");
    EXPECT_EQ(export_dialog_filter(Step3D), "STEP AP214 (*.stp;*.step)|*.stp;*.step");
    EXPECT_EQ(export_dialog_filter(Stl), "STL (*.stl)|*.stl");
}

TEST(ExportCommandTexts, QuestionResultAndFailure)
{
    EXPECT_EQ(overwrite_question_text("/home/ann/drive.dxf"), "'drive.dxf' already exists. Overwrite?");
    EXPECT_EQ(export_result_message(Dxf2D, 324, "/tmp/a.dxf", 3070), "324 curves written to\n/tmp/a.dxf\n(3070 KB)");
    EXPECT_EQ(export_result_message(Step2D, 9, "b.stp", 0), "9 curves written to\nb.stp\n(0 KB)");
    EXPECT_EQ(export_result_message(Stl, 1200, "c.stl", 58), "1200 triangles written to\nc.stl\n(58 KB)");
    EXPECT_EQ(export_result_message(Dxf3D, 7, "d.dxf", 1), "7 triangles written to\nd.dxf\n(1 KB)");
    EXPECT_EQ(export_result_message(Step3D, 427, "e.stp", 12), "427 solids written to\ne.stp\n(12 KB)");
    export_error_text = "Cannot write the file.";
    EXPECT_EQ(export_failure_message("/root/x.dxf"), "Cannot write the file.\n/root/x.dxf");
    EXPECT_EQ(folder_of("/home/ann/exports/drive.dxf"), "/home/ann/exports/");
    EXPECT_EQ(folder_of("drive.dxf"), "");
}

TEST(ExportTarget, FilesCountFoldersDoNot)
{
    TestFolder folder;
    write_whole_file(folder.file("empty.dxf"), "");
    write_whole_file(folder.file("small.dxf"), std::string(1023, 'x'));
    write_whole_file(folder.file("two.dxf"), std::string(2048, 'x'));
    mkdir(folder.file("sub.dxf").c_str(), 0755);
    EXPECT_TRUE(export_target_exists(folder.file("empty.dxf")));
    EXPECT_FALSE(export_target_exists(folder.file("sub.dxf")));
    EXPECT_FALSE(export_target_exists(folder.file("none.dxf")));
    // Whole KB, cut: 1023 bytes are 0 KB.
    EXPECT_EQ(export_file_size_kb(folder.file("small.dxf")), 0);
    EXPECT_EQ(export_file_size_kb(folder.file("two.dxf")), 2);
}

TEST(ExportDispatch, EachKindToItsWriter)
{
    LaidDrive drive;
    TestFolder folder;
    EXPECT_EQ(write_export_file(Dxf2D, folder.file("a.dxf"), drive.input, drive.solution, drive.options), 324);
    EXPECT_TRUE(path_exists(folder.file("a.dxf")));
    EXPECT_EQ(write_export_file(Step2D, folder.file("a.stp"), drive.input, drive.solution, drive.options), 324);
    drive.options.export_scope = ExportWheel1Only;
    const std::int64_t triangles =
        write_export_file(Stl, folder.file("a.stl"), drive.input, drive.solution, drive.options);
    EXPECT_GT(triangles, 0);
    EXPECT_EQ(write_export_file(Dxf3D, folder.file("a_3d.dxf"), drive.input, drive.solution, drive.options),
              triangles);
    EXPECT_EQ(write_export_file(Step3D, folder.file("a_3d.stp"), drive.input, drive.solution, drive.options), 1);
    EXPECT_EQ(folder_listing(folder.path), "a.dxf\na.stl\na.stp\na_3d.dxf\na_3d.stp\n");
}

}  // namespace
