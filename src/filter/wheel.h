#pragma once
// The rotating matrix (wheel): a stored table of index rows that guarantees a
// minimum match when enough of the chosen numbers are drawn. The window and
// zelvor-cli read their settings into WheelInputs, generate the bets from the
// matrix file and save them; everything here is plain C++.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvor {

// "一" ... "七" for 1..7; empty otherwise.
std::string pickNumeral(int k);

inline constexpr int WheelBoxCount = 21; // number boxes of the window
inline constexpr int WheelMaxBankers = 2;

// The window's controls as they stand.
struct WheelInputs {
    bool bankerForm = false;         // optjutype: "胆拖式"
    std::string pickText = "选6型";  // comcainum
    std::string basicText = "10";    // commainnum
    std::string bankerText = "0";    // comdannum
    std::string hitText = "6";       // comoknum ("选对号码数")
    std::string keepText = "5";      // combaonum ("保中号码数")
    std::vector<std::string> boxes;  // the number boxes, box 0 first
};

// The settings of a generation, every text read once.
struct WheelSettings {
    bool bankerForm = false;
    int pick = 6;   // k
    int basic = 10; // M
    int bankers = 0; // D (0 in the plain form)
    int hit = 6;    // 中
    int keep = 5;   // 保
};

// Items of comcainum: "选1型" ... "选7型".
std::vector<std::string> wheelPickItems();

// The matrix file the settings look for ("选六型10码中6保5.txt"; banker form
// "选五型09码中5保4.txt"); empty when k - D is below 1.
std::string wheelMatrixName(const WheelSettings& s);
// The proposed save name ("选六型10码中6保5投注号码.txt", banker form
// "选六型1胆9拖中6保5投注号码.txt").
std::string wheelSaveName(const WheelSettings& s);

// A matrix file as the window reads it: before each token, blanks and commas
// are skipped; a token runs to the next blank. Reading stops at the first
// line whose first token is missing or no integer. Lines end CR LF or LF.
struct WheelMatrixRead {
    std::vector<std::vector<int>> rows; // the tokens of each line read
    std::string error;                  // a refused file: the window's message
    bool ok() const { return error.empty(); }
};
// Reads text and checks every line read: each token an integer, indexes
// (rowWidth of them) in 1..basic, none twice. A line that fails gives
// "矩阵文件第n行有误！"; no line at all "矩阵文件中没有投注号码！".
WheelMatrixRead readWheelMatrix(std::string_view text, int rowWidth, int basic);

// What a generation gives: the bets (ascending numbers), or the message of
// its refusal (nothing else changes then).
struct WheelGeneration {
    enum class Status { Done, Refused, ConversionError };
    Status status = Status::Done;
    std::string message;
    WheelSettings settings;
    std::string matrixName;
    std::vector<std::vector<int>> bets;
    bool ok() const { return status == Status::Done; }
};

// "开始缩水": the checks in the window's order, then the matrix file from
// folder (the program's "旋转矩阵" folder), then the bets.
WheelGeneration generateWheel(const WheelInputs& inputs, const std::filesystem::path& folder);

// The checks of the counts and texts alone (no file read); a refusal comes
// back with its message.
std::optional<WheelGeneration> readWheelSettings(const WheelInputs& inputs, WheelSettings& settings);

// One bet as saved: each number "%.2d" followed by one blank, then CR LF.
std::string wheelBetLine(const std::vector<int>& bet);

} // namespace zelvor
