// Starch broken down by amylase, followed by testing samples with iodine in a
// dimple tray.
//
// The amylase clears the starch in a time that depends on the bath
// temperature T (whole degrees, ºC) through a table: 30 min at 10 ºC and
// below, falling to 10 min at 20 ºC and 4 min over the optimum 32–47 ºC,
// rising again to 30 min at 60 ºC and above.  Every test draws its own
// scatter: c = table(T) + round(N(0, 1)) minutes.  A sample taken after m
// whole minutes still holds starch (blue-black) when m ≤ c, and none
// (orange) when m > c.
//
// A test is four steps of the sample dropper: down into the tube, up
// filled, over the first dimple still holding plain iodine (where the
// result is stored), and home.  Without such a dimple the first three steps
// do nothing.  A reset empties the tray and the iodine dropper refills the
// 20 dimples one per step, then goes home.  Positions are scene units.
#pragma once

#include <array>

namespace brv {

struct TScenePoint {
    float X = 0, Y = 0;
    friend bool operator==(const TScenePoint&, const TScenePoint&) = default;
};

struct TAmylaseModel {
    enum TDimpleState : int { DimpleEmpty = -1, DimpleIodine = 0, DimpleStarch = 1, DimpleNoStarch = 2 };
    struct TDimple {
        float X = 0, Y = 0;  // centre, from the tray's top-left corner
        int State = DimpleIodine;
        int Minutes = 0;  // reaction time of the test shown (Starch, NoStarch)
    };

    static constexpr int DimpleCount = 20;
    static constexpr int Columns = 5;
    static constexpr float DimpleSpacing = 8;
    static constexpr TScenePoint Tray{35, 35};
    static constexpr TScenePoint SampleHome{21, 30};
    static constexpr TScenePoint IodineHome{50, 8};
    static constexpr float DropperWidth = 3, DropperHeight = 16;
    static constexpr float InTubeY = 45, AboveTubeY = 30;
    static constexpr int TestSteps = 4;

    std::array<TDimple, DimpleCount> Dimples;
    TScenePoint SampleDropper = SampleHome;
    bool SampleFilled = false;
    TScenePoint IodineDropper = IodineHome;

    TAmylaseModel();

    // Clearing time of the table at whole degrees temperature, minutes.
    static int TableClearTime(int temperature);
    // The table's time with this test's scatter.
    static int StarchClearTime(int temperature);

    // The lowest-numbered dimple holding plain iodine; −1 when none.
    int TargetDimple() const;
    // Where a dropper stands to drop into dimple i: its tip level with the
    // dimple's centre.
    TScenePoint OverDimple(int i) const;
    // Test step 0..3 with the reaction time and bath temperature of the test
    // (whole minutes and degrees).
    void TestStep(int step, int minutes, int temperature);
    // Every dimple empty, for the iodine dropper to refill.
    void EmptyTray();
    // Refill step k = 0..19: the iodine dropper over dimple k, which gets iodine.
    void RefillStep(int k);
    void IodineDropperHome() { IodineDropper = IodineHome; }
};

}  // namespace brv
