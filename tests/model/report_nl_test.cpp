#include <gtest/gtest.h>

#include <cmath>

#include "model/drive.h"
#include "model/report.h"

// Linked with the Dutch table: the same drive, reported in Dutch, with the
// same numbers and layout.
TEST(DutchReport, DefaultDriveWordForWord)
{
    DriveInput in;
    DriveOptions options;
    DriveSolution solution;
    compute_drive(in, solution);
    EXPECT_EQ(build_report_text(in, options, solution), R"(Ketting 08B  (1/2")  ISO 606 / DIN 8187
  p = 12.700   d1 = 8.51   b1 = 7.75
  d2 = 4.45   h = 11.81

Wiel 1 (drijvend)
  z = 17   d = 69.116   df = 60.606
  da = 74.30  (72.11 .. 76.48)
  ri = 4.368   re = 25.67   α = 124.71°
  tandbreedte bf1 = 7.21   omspanning 188.5°

Wiel 2
  z = 34   d = 137.642   df = 129.132
  da = 143.12  (141.23 .. 145.01)
  ri = 4.368   re = 63.86   α = 127.35°
  tandbreedte bf1 = 7.21   omspanning 204.6°

Spanwiel
  z = 15   d = 61.084   df = 52.574
  da = 66.18  (63.92 .. 68.45)
  ri = 4.368   re = 22.47   α = 124.00°
  tandbreedte bf1 = 7.21   omspanning 33.1°

Overbrenging i = Z2 / Z1 = 2.0000
Schakels zonder spanwiel (ISO): 104.43
Schakels (gelegd, strak): 104.44
Gekozen aantal schakels: 106
Kettinglengte: 1346.2 mm
Hartafstand zonder spanwiel: 510.02 mm
Indrukking spanwiel: 70.54 mm
Spanwiel op (x, y): 249.20, -11.66
)");
}

TEST(DutchReport, ErrorsAndWarnings)
{
    DriveInput in;
    DriveOptions options;
    DriveSolution solution;
    in.idler_teeth = 300;
    compute_drive(in, solution);
    EXPECT_EQ(solution.error_text, "Spanwiel: Tandental moet tussen 6 en 250 liggen.");
    in.idler_teeth = 15;
    in.links = 104;
    compute_drive(in, solution);
    EXPECT_EQ(solution.error_text, "Ketting te kort: minstens 104.44 schakels nodig.");
    EXPECT_NE(build_report_text(in, options, solution).find("\nFOUT: Ketting te kort"), std::string::npos);
    in.links = 83;
    in.centre_distance = 350.0;
    compute_drive(in, solution);
    EXPECT_EQ(solution.warning_text,
              "Oneven aantal schakels: er is een verkropte schakel nodig.\n"
              "Aanbevolen hartafstand: 30 tot 50 x de steek (381 - 635 mm).\n");
    in.centre_distance = 100.0;
    compute_drive(in, solution);
    EXPECT_EQ(solution.error_text, "Hartafstand te klein: de wielen overlappen (minimaal 108.7 mm).");
    in.centre_distance = std::nan("");
    compute_drive(in, solution);
    EXPECT_EQ(solution.error_text, "Geen geldige invoer.");
    in.centre_distance = 1e9;
    in.links = 0;
    compute_drive(in, solution);
    EXPECT_EQ(solution.error_text, "De ketting zou langer worden dan het programma legt (hoogstens 20000 rollen).");
    compute_drive({.size_index = 2, .z1 = 6, .z2 = 63, .idler_teeth = 19, .centre_distance = 162.185,
                   .idler_position = 0.747, .idler_outside = 0},
                  solution);
    EXPECT_EQ(solution.error_text, "De ketting omspant wiel 1 nauwelijks: minder schakels, een grotere hartafstand of "
                                   "het spanwiel verder van wiel 1.");
}
