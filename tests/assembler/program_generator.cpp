#include "program_generator.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>

namespace corvid::testing {
namespace {

// ---------------------------------------------------------------------------------------------
// Values in both syntaxes.

// One operand value in the three spellings the two texts need. Only shapes whose value does
// not depend on operator precedence are built: one binary operator, or a chain of + and -
// (Corvid evaluates strictly left to right, GNU as with C precedence).
struct TExpr {
    std::string Corvid;
    std::string Gnu;      // MRI syntax: instruction operands and EQU
    std::string GnuData;  // C syntax: .byte and .word between ".mri 0" and ".mri 1"
    int Value = 0;        // the final value; for a pending label not known at all
    bool Known = true;    // false for a name defined further down
    bool Pending = false; // a label whose address the generator does not know yet
    // For GNU as an address in a section (a label, "*", or an EQU of one); only sums with
    // numbers and differences within one section are allowed on those.
    int Section = Absolute;
    int Addend = 0; // what a relocatable value adds to its address
    char Shape = 0; // 0 a single term, '+' a chain of + and -, else the one operator

    static constexpr int Absolute = -1;
    static constexpr int ElsewhereSection = 1000000; // a section of its own
    bool Relocatable() const { return Section != Absolute; }
};

// Stands for "*" in GnuData until the data statement names the label GNU as gets there.
constexpr char HereMark = '\x01';

enum class TRadix { Decimal, Hex, Binary, Octal, Character };
constexpr TRadix Radixes[] = {TRadix::Hex, TRadix::Decimal, TRadix::Binary, TRadix::Octal,
                              TRadix::Character};

std::string ToBase(unsigned value, unsigned base) {
    std::string text;
    do {
        text.insert(text.begin(), "0123456789ABCDEF"[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

bool IsCharacterConstant(int value) {
    return (value >= 'A' && value <= 'Z') || (value >= 'a' && value <= 'z') ||
           (value >= '0' && value <= '9');
}

TExpr Number(int value, TRadix radix = TRadix::Hex) {
    if (value < 0)
        return {std::to_string(value), std::to_string(value), std::to_string(value), value};
    const auto v = static_cast<unsigned>(value);
    switch (radix) {
    case TRadix::Hex: {
        std::string hex = ToBase(v, 16);
        if (hex.size() % 2 != 0)
            hex.insert(hex.begin(), '0');
        return {"$" + hex, "$" + hex, "0x" + hex, value};
    }
    case TRadix::Binary:
        return {"%" + ToBase(v, 2), "%" + ToBase(v, 2), "0b" + ToBase(v, 2), value};
    case TRadix::Octal:
        return {"@" + ToBase(v, 8), "@" + ToBase(v, 8), "0" + ToBase(v, 8), value};
    case TRadix::Character:
        if (IsCharacterConstant(value)) {
            const std::string c(1, static_cast<char>(value));
            return {"'" + c + "'", "'" + c + "'", "'" + c, value};
        }
        if (value > 255 && IsCharacterConstant(value >> 8) && IsCharacterConstant(value & 255)) {
            const std::string cc{static_cast<char>(value >> 8), static_cast<char>(value & 255)};
            return {"'" + cc + "'", "'" + cc + "'", "0x" + ToBase(v, 16), value};
        }
        break;
    case TRadix::Decimal:
        break;
    }
    return {std::to_string(value), std::to_string(value), std::to_string(value), value};
}

TExpr Negated(const TExpr& term) {
    if (term.Shape != 0 || term.Corvid[0] == '-' || term.Relocatable() || !term.Known)
        throw std::logic_error("only a single term may be negated");
    TExpr e = term;
    e.Corvid = "-" + term.Corvid;
    e.Gnu = "-" + term.Gnu;
    e.GnuData = "-" + term.GnuData;
    e.Value = -term.Value;
    return e;
}

int Apply(int left, char op, int right) {
    switch (op) {
    case '+':
        return left + right;
    case '-':
        return left - right;
    case '*':
        return left * right;
    case '/':
        return left / right;
    case '%':
        return left % right;
    case '&':
        return left & right;
    case '|':
        return left | right;
    case '^':
        return left ^ right;
    }
    throw std::logic_error(std::string("unknown operator ") + op);
}

bool IsAdditive(char op) {
    return op == '+' || op == '-';
}

// Whether left op right reads the same with left-to-right evaluation and with C precedence,
// and means the same to both assemblers (GNU as only adds numbers to addresses, subtracts
// addresses of one section, and leaves names defined later to the linker).
bool CanCombine(const TExpr& left, char op, const TExpr& right) {
    if (right.Shape != 0 || left.Pending || right.Pending)
        return false;
    if (left.Shape != 0 && !(IsAdditive(op) && left.Shape == '+'))
        return false;
    if (right.Corvid[0] == '-')
        return false; // "a--1": stays within the shapes both are known to read alike
    if (right.Relocatable() &&
        !(op == '-' && left.Section == right.Section && left.Known && right.Known))
        return false;
    if (!IsAdditive(op) && (left.Relocatable() || !left.Known || !right.Known))
        return false;
    if ((op == '/' || op == '%') && (left.Value < 0 || right.Value <= 0))
        return false;
    // GNU as in MRI mode reads "%1..." after a value as a binary number, not as a remainder.
    return !(op == '%' && (right.Gnu[0] == '0' || right.Gnu[0] == '1' || right.Gnu[0] == '%'));
}

TExpr Combine(const TExpr& left, char op, const TExpr& right) {
    if (!CanCombine(left, op, right))
        throw std::logic_error("expression shape differs between the assemblers: " + left.Corvid +
                               op + right.Corvid);
    TExpr e;
    e.Corvid = left.Corvid + op + right.Corvid;
    e.Gnu = left.Gnu + op + right.Gnu;
    e.GnuData = left.GnuData + op + right.GnuData;
    e.Value = Apply(left.Value, op, right.Value);
    e.Known = left.Known && right.Known;
    e.Section = right.Relocatable() ? TExpr::Absolute : left.Section;
    e.Addend = left.Addend + (op == '-' ? -right.Value : right.Value);
    e.Shape = IsAdditive(op) ? '+' : op;
    return e;
}

// A Corvid expression may not start with an operator symbol where it follows another one
// separated only by blanks (a mask after an address, a target after a mask): "$10 %1" is a
// remainder, not two values.
bool CanFollowBlank(const TExpr& e) {
    return std::string_view("-+*%&|^/").find(e.Corvid[0]) == std::string_view::npos;
}

// FCB and FCC take an item that starts with a quote as a string: "'l'+1" is the byte of 'l'
// followed by a stray "+1".
bool CanBeByteItem(const TExpr& e) {
    return e.Shape == 0 || e.Corvid[0] != '\'';
}

// GNU as keeps what an 8-bit field adds to an address in the field itself, read back unsigned
// by the linker: only small positive additions survive.
bool FitsByteField(const TExpr& e) {
    return !e.Relocatable() || (e.Addend >= 0 && e.Addend <= 127);
}

// m68hc11-ld sets bit 15 of every reference to a name whose address lies before the start of
// its section (it takes it for a banked address): "E EQU LAB-84" then "FDB E" is off by $8000.
bool CanBeNamed(const TExpr& e) {
    return !e.Relocatable() || e.Addend >= 0;
}

bool InRange(const TExpr& e, int low, int high) {
    return !e.Pending && e.Value >= low && e.Value <= high;
}

// ---------------------------------------------------------------------------------------------
// The two texts.

struct TOperand {
    std::string Corvid;
    std::string Gnu;
};

// One item of FCB or FCC: a value (one byte) or a string (its characters).
struct TDataItem {
    TDataItem(TExpr value) : Value(std::move(value)) {}
    static TDataItem String(std::string text) {
        TDataItem item{TExpr{}};
        item.Text = std::move(text);
        return item;
    }
    TExpr Value;
    std::string Text; // a string item when not empty
};

enum class TLabelStyle { OwnLine, Colon, SameLine };

// Writes both texts statement by statement and keeps the location counter, so that the
// generators can place branch targets at exact distances and the GNU text can place every ORG
// window (and the code after an RMB) in a section of its own.
class TDualWriter {
public:
    explicit TDualWriter(uint32_t seed) : Random(seed) {}

    int Pc() const { return PC; }
    int Room() const { return Limit - PC; }
    std::mt19937& Rng() { return Random; }

    void Org(int address, int limit) {
        PlaceAllPromised();
        FlushSameLineLabel();
        C += "\tORG\t" + Number(address).Corvid + "\n";
        LastLineIsStatement = false;
        NewSection(address);
        PC = address;
        Limit = limit;
        InWindow = true;
        SectionLabels.clear();
    }

    void Comment(const std::string& text) {
        FlushSameLineLabel();
        LastLineIsStatement = false;
        C += "* " + text + "\n";
        G += "* " + text + "\n";
    }

    // Comment forms only Corvid reads; GNU as gets the same text as a ";" line.
    void CorvidComment(const std::string& text, int style) {
        FlushSameLineLabel();
        LastLineIsStatement = false;
        static const char* forms[][2] = {
            {"; ", ""}, {"// ", ""}, {"/* ", "\n   end of comment */"}};
        C += std::string(forms[style % 3][0]) + text + forms[style % 3][1] + "\n";
        G += "; " + text + "\n";
    }

    void Blank() {
        FlushSameLineLabel();
        LastLineIsStatement = false;
        C += "\n";
        G += "\n";
    }

    void Label(const std::string& name, TLabelStyle style = TLabelStyle::OwnLine) {
        FlushSameLineLabel();
        LastLineIsStatement = false;
        if (style == TLabelStyle::SameLine)
            SameLineLabel = name;
        else
            C += name + (style == TLabelStyle::Colon ? ":" : "") + "\n";
        G += name + "\n";
        Names[name] = {PC, SectionIndex()};
        SectionLabels.emplace_back(name, PC);
    }

    void Equ(const std::string& name, const TExpr& value, bool colon = false) {
        if (!CanBeNamed(value))
            throw std::logic_error("GNU as cannot name " + value.Gnu);
        FlushSameLineLabel();
        C += name + (colon ? ":" : "") + "\tEQU\t" + value.Corvid + "\n";
        G += name + "\tEQU\t" + value.Gnu + "\n";
        Names[name] = {value.Value, value.Section};
        LastLineIsStatement = false;
    }

    // A name defined earlier, spelt in Corvid with letters of another case now and then (names
    // compare case-insensitively there, but not in GNU as).
    TExpr Ref(const std::string& name) {
        const auto found = Names.find(name);
        if (found == Names.end())
            throw std::logic_error("reference to undefined name " + name);
        TExpr e{CorvidSpelling(name), name, name, found->second.Value};
        e.Section = found->second.Section;
        return e;
    }

    bool IsDefined(const std::string& name) const { return Names.contains(name); }

    // A name defined further down: an EQU of a number (absolute) or a label.
    static TExpr Forward(const std::string& name, int finalValue, bool label) {
        TExpr e{name, name, name, finalValue, false};
        e.Section = label ? TExpr::ElsewhereSection : TExpr::Absolute;
        return e;
    }

    // A label that the caller promises to define later, at an address not known yet.
    static TExpr PendingRef(const std::string& name) {
        TExpr e{name, name, name, 0, false};
        e.Pending = true;
        e.Section = TExpr::ElsewhereSection;
        return e;
    }

    // The location counter at the start of the statement that uses it ("*"). GNU as reads "*"
    // in an instruction the same way; in data it gets a label at the statement.
    TExpr Here() const {
        TExpr e{"*", "*", std::string(1, HereMark), PC};
        e.Section = SectionIndex();
        return e;
    }

    std::string NewName(const std::string& prefix) { return prefix + std::to_string(++Counter); }

    // A label to be defined before the location counter passes deadline (the farthest target
    // a branch can reach), or at the end of the section at the latest.
    void Promise(const std::string& name, int deadline) { Promised.push_back({name, deadline}); }
    bool HasPromised() const { return !Promised.empty(); }
    void PlaceOnePromised() {
        Label(Promised.front().first);
        Promised.pop_front();
    }
    void PlaceAllPromised() {
        while (!Promised.empty())
            PlaceOnePromised();
    }

    // Labels of the current section: the targets a branch can reach without a relocation.
    const std::vector<std::pair<std::string, int>>& LabelsInSection() const {
        return SectionLabels;
    }

    void Instruction(const TIsaRow& row, const TOperand& operand, bool sameLineAsPrevious = false,
                     const std::string& comment = "") {
        BeforeStatement(row.Bytes);
        const std::string mnemonic = MnemonicSpelling(row.Mnemonic);
        if (sameLineAsPrevious && LastLineIsStatement && SameLineLabel.empty()) {
            C.pop_back();
            C += "  " + mnemonic + (operand.Corvid.empty() ? "" : " " + operand.Corvid) + "\n";
        } else {
            C += TakeSameLineLabel() + "\t" + mnemonic +
                 (operand.Corvid.empty() ? "" : "\t" + operand.Corvid) +
                 (comment.empty() ? "" : "\t; " + comment) + "\n";
        }
        G += "\t" + row.Mnemonic + (operand.Gnu.empty() ? "" : "\t" + operand.Gnu) +
             (comment.empty() ? "" : "\t; " + comment) + "\n";
        PC += row.Bytes;
        Covered.insert(row.Key());
        LastLineIsStatement = comment.empty();
        CheckLimit();
    }

    // FCB (or FCC, which takes the same items): values as bytes, strings as their characters.
    void ByteData(const std::vector<TDataItem>& items, const char* directive = "FCB") {
        int size = 0;
        for (const TDataItem& item : items) {
            if (item.Text.empty() && !CanBeByteItem(item.Value))
                throw std::logic_error("a byte item would be read as a string: " +
                                       item.Value.Corvid);
            size += item.Text.empty() ? 1 : static_cast<int>(item.Text.size());
        }
        BeforeStatement(size);
        std::string corvid;
        std::string gnu;
        std::string values;
        for (const TDataItem& item : items) {
            corvid += (corvid.empty() ? "" : ",") +
                      (item.Text.empty() ? item.Value.Corvid : "'" + item.Text + "'");
            if (item.Text.empty()) {
                values += (values.empty() ? "" : ",") + GnuDataText(item.Value);
                continue;
            }
            if (!values.empty())
                gnu += "\t.byte\t" + values + "\n";
            values.clear();
            gnu += "\t.ascii\t\"" + item.Text + "\"\n";
        }
        if (!values.empty())
            gnu += "\t.byte\t" + values + "\n";
        C += TakeSameLineLabel() + "\t" + directive + "\t" + corvid + "\n";
        G += HereLabelLine() + "\t.mri 0\n" + gnu + "\t.mri 1\n";
        PC += size;
        LastLineIsStatement = true;
        CheckLimit();
    }

    void WordData(const std::vector<TExpr>& items) {
        const int size = 2 * static_cast<int>(items.size());
        BeforeStatement(size);
        std::string corvid;
        std::string gnu;
        for (const TExpr& item : items) {
            corvid += (corvid.empty() ? "" : ",") + item.Corvid;
            gnu += (gnu.empty() ? "" : ",") + GnuDataText(item);
        }
        C += TakeSameLineLabel() + "\tFDB\t" + corvid + "\n";
        G += HereLabelLine() + "\t.mri 0\n\t.word\t" + gnu + "\n\t.mri 1\n";
        PC += size;
        LastLineIsStatement = true;
        CheckLimit();
    }

    // Reserved bytes emit nothing; GNU as would fill them with zeros, so the code after them
    // goes into a section of its own.
    void Rmb(const TExpr& count) {
        BeforeStatement(count.Value);
        PlaceAllPromised();
        C += TakeSameLineLabel() + "\tRMB\t" + count.Corvid + "\n";
        PC += count.Value;
        LastLineIsStatement = true;
        CheckLimit();
        NewSection(PC);
        SectionLabels.clear();
    }

    void End() {
        PlaceAllPromised();
        FlushSameLineLabel();
        C += "\tEND\n";
        G += "\tEND\n";
    }

    TDualProgram Finish() {
        PlaceAllPromised();
        FlushSameLineLabel();
        TDualProgram program;
        program.Corvid = std::move(C);
        program.Gnu = std::move(G);
        program.Sections = std::move(Sections);
        program.CoveredRows = std::move(Covered);
        program.Lines =
            static_cast<int>(std::count(program.Corvid.begin(), program.Corvid.end(), '\n'));
        return program;
    }

    // How often Corvid spellings of names and mnemonics change case (0: never).
    int CaseChangePercent = 0;

private:
    struct TName {
        int Value;
        int Section;
    };

    std::mt19937 Random;
    std::string C;
    std::string G;
    std::vector<TGnuSection> Sections;
    std::set<std::string> Covered;
    std::map<std::string, TName> Names;
    std::vector<std::pair<std::string, int>> SectionLabels;
    std::deque<std::pair<std::string, int>> Promised;
    std::string HereLabel; // the GNU label of "*" in the data statement being written
    std::string SameLineLabel;
    int PC = 0;
    int Limit = 0;
    bool InWindow = false;
    bool LastLineIsStatement = false; // the last Corvid line may take another statement
    int Counter = 0;

    int SectionIndex() const { return static_cast<int>(Sections.size()) - 1; }

    std::string GnuDataText(const TExpr& e) {
        std::string text = e.GnuData;
        const size_t mark = text.find(HereMark);
        if (mark == std::string::npos)
            return text;
        if (HereLabel.empty())
            HereLabel = NewName("GH");
        return text.replace(mark, 1, HereLabel);
    }

    std::string HereLabelLine() {
        std::string line;
        if (!HereLabel.empty())
            line = HereLabel + "\n";
        HereLabel.clear();
        return line;
    }

    void NewSection(int address) {
        const std::string name = ".w" + std::to_string(Sections.size());
        G += "\t.mri 0\n\t.section\t" + name + ",\"ax\"\n\t.mri 1\n";
        Sections.push_back({name, address});
    }

    // Defines every promised label that the statement would carry out of its branch's reach.
    void BeforeStatement(int size) {
        if (!InWindow)
            throw std::logic_error("statement before the first ORG");
        while (!Promised.empty() && PC + size > Promised.front().second)
            PlaceOnePromised();
    }

    void CheckLimit() const {
        if (PC > Limit + 1)
            throw std::logic_error("generated code ran past the end of its window");
    }

    std::string TakeSameLineLabel() {
        std::string label;
        label.swap(SameLineLabel);
        return label;
    }

    void FlushSameLineLabel() {
        if (!SameLineLabel.empty())
            C += TakeSameLineLabel() + "\n";
    }

    bool ChangeCase() {
        return CaseChangePercent > 0 &&
               std::uniform_int_distribution<int>(0, 99)(Random) < CaseChangePercent;
    }

    std::string CorvidSpelling(const std::string& name) {
        if (!ChangeCase())
            return name;
        std::string spelt = name;
        for (char& c : spelt) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return spelt;
    }

    std::string MnemonicSpelling(const std::string& mnemonic) {
        if (!ChangeCase())
            return mnemonic;
        std::string lower = mnemonic;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return lower;
    }
};

// ---------------------------------------------------------------------------------------------
// Operands of every addressing mode.

bool IsBranch(TIsaMode mode) {
    return mode == TIsaMode::Relative || mode == TIsaMode::BranchDirect ||
           mode == TIsaMode::BranchIndexedX || mode == TIsaMode::BranchIndexedY;
}

bool IsIndexedY(TIsaMode mode) {
    return mode == TIsaMode::IndexedY || mode == TIsaMode::BitIndexedY ||
           mode == TIsaMode::BranchIndexedY;
}

bool IsBitDirect(TIsaMode mode) {
    return mode == TIsaMode::BitDirect || mode == TIsaMode::BranchDirect;
}

TOperand Immediate(const TExpr& e) {
    return {"#" + e.Corvid, "#" + e.Gnu};
}

// Corvid assembles a name defined further down extended where it has the choice; bit
// instructions have only the direct mode, and take it as long as the final value fits.
TOperand Direct(const TExpr& e, bool forwardAllowed = false) {
    if ((!e.Known && !forwardAllowed) || !InRange(e, 0, 255))
        throw std::logic_error("not a direct-page value: " + e.Corvid);
    return {e.Corvid, "*" + e.Gnu};
}

// GNU as assembles a plain address extended, whatever its value.
TOperand Extended(const TExpr& e) {
    return {e.Corvid, e.Gnu};
}
TOperand ForcedExtended(const TExpr& e) {
    return {">" + e.Corvid, e.Gnu};
}

// Without an offset when offset is nullptr.
TOperand Indexed(const TExpr* offset, bool y) {
    const std::string reg = y ? ",Y" : ",X";
    if (offset == nullptr)
        return {reg, reg};
    return {offset->Corvid + reg, offset->Gnu + reg};
}

// The address part of a bit instruction: a direct address or an indexed operand.
TOperand BitAddress(TIsaMode mode, const TExpr* value) {
    if (IsBitDirect(mode))
        return Direct(*value, true);
    return Indexed(value, IsIndexedY(mode));
}

TOperand WithMask(const TOperand& address, const TExpr& mask) {
    if (!CanFollowBlank(mask))
        throw std::logic_error("mask starts with an operator: " + mask.Corvid);
    return {address.Corvid + " " + mask.Corvid, address.Gnu + " #" + mask.Gnu};
}

// Corvid accepts "#" before a branch target; GNU as takes the plain name.
TOperand WithTarget(const TOperand& prefix, const TExpr& target, bool hash = false) {
    const std::string corvid = (hash ? "#" : "") + target.Corvid;
    if (prefix.Corvid.empty())
        return {corvid, target.Gnu};
    return {prefix.Corvid + " " + corvid, prefix.Gnu + " " + target.Gnu};
}

// ---------------------------------------------------------------------------------------------
// The coverage program.

// Names every program defines at its end, so that operands can refer forward to them.
struct TLateNames {
    static constexpr int SmallLabel = 0xE0; // LATEZ, in a direct-page window of its own
    static constexpr int BigLabel = 0xE000; // LATE
    static constexpr int SmallEqu = 0x2A;   // LATEQ
    static constexpr int BigEqu = 0x4321;   // LATEQW
    static constexpr int LastCodeAddress = 0xDFFF;
    static constexpr int LastPageZeroAddress = 0xDF;

    static TExpr LateZ() { return TDualWriter::Forward("LATEZ", SmallLabel, true); }
    static TExpr Late() { return TDualWriter::Forward("LATE", BigLabel, true); }
    static TExpr LateQ() { return TDualWriter::Forward("LATEQ", SmallEqu, false); }
    static TExpr LateQW() { return TDualWriter::Forward("LATEQW", BigEqu, false); }

    static void Define(TDualWriter& w) {
        w.Comment("Names that earlier operands referred to forward");
        w.Equ("LATEQ", Number(SmallEqu));
        w.Equ("LATEQW", Number(BigEqu));
        w.Org(BigLabel, 0xFFFF);
        w.Label("LATE");
        w.ByteData({{Number(0xA5)}});
        w.Org(SmallLabel, 0xFF);
        w.Label("LATEZ", TLabelStyle::Colon);
        w.ByteData({{Number(1)}, {Number(2)}});
        w.End();
    }
};

// Operand values of every spelling, handed out in turn so that every row gets a different one
// and every spelling is used by several rows.
class TValuePool {
public:
    explicit TValuePool(std::vector<TExpr> values) : Values(std::move(values)) {}
    const TExpr& Next() { return Values[Turn++ % Values.size()]; }

private:
    std::vector<TExpr> Values;
    size_t Turn = 0;
};

class TCoverageGenerator {
public:
    explicit TCoverageGenerator(const TIsaTable& isa) : Isa(isa), W(1) { W.CaseChangePercent = 25; }

    TDualProgram Generate() {
        W.Comment("Every instruction of the 68HC11 in every operand form");
        W.CorvidComment("comment forms that only Corvid reads", 1);
        W.CorvidComment("a block comment", 2);
        DefineEqus();
        DirectPageData();
        CodeWindows.assign({{0x0100, 0x0FFF},
                            {0x2000, 0x3FFF},
                            {0x8000, 0xBFFF},
                            {0xC000, TLateNames::LastCodeAddress}});
        NextWindow();
        W.Label("CODE0", TLabelStyle::Colon);
        MakePools();
        PlanPlainStatements();
        for (const TIsaRow& row : Isa.Rows) {
            if (IsBranch(row.Mode))
                BranchForms(row);
        }
        while (!Plain.empty())
            EmitPlain();
        TLateNames::Define(W);
        return W.Finish();
    }

private:
    struct TPlanned {
        const TIsaRow* Row;
        TOperand Operand;
    };

    const TIsaTable& Isa;
    TDualWriter W;
    std::vector<std::pair<int, int>> CodeWindows;
    size_t WindowIndex = 0;
    int PrefixTurn = 0;
    std::deque<TPlanned> Plain;
    std::vector<TValuePool> Pools;
    enum {
        DirectPool,
        BigPool,
        ForwardBigPool,
        ForwardSmallPool,
        Imm8Pool,
        Imm16Pool,
        IndexPool,
        MaskPool,
        BitAddressPool,
        FillPool
    };

    void DefineEqus() {
        W.Equ("ZVAR", Number(0x40));
        W.Equ("ZPTR", Combine(W.Ref("ZVAR"), '+', Number(2, TRadix::Decimal)), true);
        W.Equ("MASK", Number(0x30, TRadix::Binary));
        W.Equ("OFFS", Number(12, TRadix::Decimal));
        W.Equ("CHR", Number('Z', TRadix::Character));
        W.Equ("WIDE", Number('A' * 256 + 'B', TRadix::Character));
        W.Equ("PORTA", Number(0x1000));
        W.Equ("REGEND", Combine(W.Ref("PORTA"), '+', Number(0x3F)));
        W.Equ("MULT", Combine(Number(3, TRadix::Decimal), '*', Number(7, TRadix::Octal)));
        W.Equ("DIVD", Combine(Number(100, TRadix::Decimal), '/', Number(7, TRadix::Decimal)));
        W.Equ("MODU", Combine(Number(100, TRadix::Decimal), '%', Number(0x10)));
        W.Equ("ANDV", Combine(Number(0xF0), '&', Number(0x3C)));
        W.Equ("ORV", Combine(Number(0xF0), '|', Number(0x0F, TRadix::Binary)));
        W.Equ("XORV", Combine(Number(0xF0), '^', Number(0xFF)));
        W.Equ("NEGV",
              Combine(Negated(Number(5, TRadix::Decimal)), '+', Number(20, TRadix::Decimal)));
        W.Equ("CHAIN",
              Combine(Combine(Number(10, TRadix::Decimal), '-', Number(2, TRadix::Decimal)), '-',
                      Number(3, TRadix::Decimal)));
    }

    // Data of every directive in the direct page, so that labels there are direct operands.
    void DirectPageData() {
        W.Org(0x0010, TLateNames::LastPageZeroAddress);
        W.Label("ZBYTES");
        W.ByteData({{Number(1, TRadix::Decimal)},
                    {Number(0xFF)},
                    {Number('A', TRadix::Character)},
                    {Number(5, TRadix::Binary)},
                    {Number(15, TRadix::Octal)},
                    {W.Ref("ZVAR")},
                    {Number(-1)},
                    {Number(-128)},
                    TDataItem::String("Hi"),
                    {Combine(W.Ref("CHR"), '+', Number(1, TRadix::Decimal))},
                    {Combine(Number(200, TRadix::Decimal), '/', Number(3, TRadix::Decimal))},
                    {TLateNames::LateQ()}});
        W.Label("ZWORDS", TLabelStyle::SameLine);
        const TExpr here = W.Here();
        W.WordData({Number(0x1234), W.Ref("ZBYTES"), here, here, Number(-2), W.Ref("WIDE"),
                    Combine(W.Ref("PORTA"), '+', Number(1, TRadix::Decimal)), TLateNames::Late(),
                    TLateNames::LateQW()});
        W.Label("ZTEXT", TLabelStyle::SameLine);
        W.ByteData({TDataItem::String("Hello, world")}, "FCC");
        W.Label("ZBUF", TLabelStyle::SameLine);
        W.Rmb(Number(6, TRadix::Decimal));
        W.Label("ZAFTER");
        W.ByteData({{Number(7, TRadix::Decimal)}});
        W.Label("ZLAST", TLabelStyle::Colon);
        W.WordData({Combine(W.Ref("ZTEXT"), '-', W.Ref("ZBYTES")), TLateNames::LateZ()});
        W.ByteData({TDataItem::String("x"), {Number(0, TRadix::Decimal)}, TDataItem::String("yz")},
                   "FCC");
        W.Rmb(Number(1, TRadix::Decimal));
        W.ByteData({{Number(0, TRadix::Decimal)}});
    }

    void MakePools() {
        const auto n = [](int v, TRadix r = TRadix::Decimal) { return Number(v, r); };
        const auto ref = [this](const char* name) { return W.Ref(name); };
        Pools.clear();
        Pools.emplace_back(
            std::vector<TExpr>{// DirectPool: 0..255, known
                               n(0x42, TRadix::Hex),
                               ref("ZVAR"),
                               ref("ZPTR"),
                               ref("ZBYTES"),
                               Combine(ref("ZTEXT"), '+', n(3)),
                               n(10, TRadix::Binary),
                               n(15, TRadix::Octal),
                               n(200),
                               ref("CHR"),
                               Combine(ref("ZVAR"), '+', n(1)),
                               ref("ANDV"),
                               ref("MODU"),
                               Combine(ref("ZTEXT"), '-', ref("ZWORDS")),
                               n('q', TRadix::Character),
                               ref("ZBUF"),
                               n(0, TRadix::Hex),
                               n(255),
                               Combine(n(100), '/', n(7)),
                               Combine(ref("ZVAR"), '%', n(0x30, TRadix::Hex)),
                               Combine(n(0xF0, TRadix::Hex), '^', n(0x5A, TRadix::Hex)),
                               ref("ZAFTER"),
                               ref("ZLAST"),
                               ref("CHAIN")});
        Pools.emplace_back(std::vector<TExpr>{
            // BigPool: 256..65535, known
            n(0x1234, TRadix::Hex), ref("PORTA"), ref("REGEND"), ref("CODE0"),
            Combine(ref("CODE0"), '+', n(3)), ref("WIDE"), n(65535), n(4096),
            n(0x1000, TRadix::Binary), n(07777, TRadix::Octal), Combine(n(3), '*', n(1000)),
            Combine(ref("PORTA"), '|', n(0x2F, TRadix::Hex)), n(256),
            Combine(Combine(ref("REGEND"), '-', n(2)), '+', ref("ZVAR"))});
        Pools.emplace_back(std::vector<TExpr>{// ForwardBigPool
                                              TLateNames::Late(), TLateNames::LateQW(),
                                              Combine(TLateNames::Late(), '+', n(2))});
        Pools.emplace_back(std::vector<TExpr>{// ForwardSmallPool: Corvid hints, still extended
                                              TLateNames::LateZ(), TLateNames::LateQ(),
                                              Combine(TLateNames::LateQ(), '+', n(1))});
        Pools.emplace_back(std::vector<TExpr>{// Imm8Pool
                                              n(0x5A, TRadix::Hex),
                                              n('A', TRadix::Character),
                                              n(10, TRadix::Binary),
                                              n(15, TRadix::Octal),
                                              ref("ZVAR"),
                                              ref("CHR"),
                                              ref("MULT"),
                                              ref("DIVD"),
                                              n(255),
                                              n(0),
                                              ref("ZBYTES"),
                                              TLateNames::LateQ(),
                                              ref("NEGV"),
                                              ref("XORV"),
                                              Combine(ref("CHR"), '+', n(1)),
                                              Combine(n(7), '*', n(9)),
                                              Combine(n(200), '%', n(0x0C, TRadix::Hex)),
                                              Combine(n(0x0F, TRadix::Hex), '&', ref("MASK")),
                                              Combine(Negated(n(3)), '+', n(10)),
                                              TLateNames::LateZ(),
                                              ref("ORV"),
                                              n('z', TRadix::Character),
                                              n('0', TRadix::Character)});
        Pools.emplace_back(std::vector<TExpr>{
            // Imm16Pool
            n(0x1234, TRadix::Hex), ref("WIDE"), n('A' * 256 + 'B', TRadix::Character),
            ref("CODE0"), TLateNames::Late(), TLateNames::LateQW(),
            Combine(ref("PORTA"), '+', n(0x2B, TRadix::Hex)), W.Here(),
            Combine(W.Here(), '+', n(3)), ref("ZVAR"), n(65535), n(-2),
            Combine(TLateNames::Late(), '-', n(0x10)), n(0x8000, TRadix::Binary),
            n(0177777, TRadix::Octal)});
        Pools.emplace_back(std::vector<TExpr>{
            // IndexPool: 0..255
            n(0), n(5), n(0xFF, TRadix::Hex), ref("OFFS"), ref("ZVAR"), TLateNames::LateQ(),
            ref("ZBYTES"), Combine(ref("OFFS"), '*', n(2)), n(6, TRadix::Binary),
            n(077, TRadix::Octal), n('c', TRadix::Character), TLateNames::LateZ()});
        Pools.emplace_back(std::vector<TExpr>{
            // MaskPool: 0..255, none starts with an operator
            n(0x80, TRadix::Hex), ref("MASK"), TLateNames::LateQ(), ref("ORV"), n(7, TRadix::Octal),
            Combine(ref("MASK"), '|', n(1)), n(1), n('K', TRadix::Character),
            Combine(n(0x81, TRadix::Hex), '^', ref("MASK"))});
        Pools.emplace_back(
            std::vector<TExpr>{// BitAddressPool: 0..255
                               n(0x10, TRadix::Hex), ref("ZVAR"), Combine(ref("ZBYTES"), '+', n(1)),
                               TLateNames::LateZ(), ref("ZBUF"), n(255), n(3, TRadix::Binary)});
        Pools.emplace_back(std::vector<TExpr>{
            // FillPool: one byte each, for FCB fillers
            n(0x11, TRadix::Hex), n(-1), n(34), n(5, TRadix::Binary), n(044, TRadix::Octal),
            n('F', TRadix::Character), ref("CHR"), TLateNames::LateQ(), n(-128),
            Combine(ref("ZVAR"), '-', n(1)), TLateNames::LateZ(), n(0)});
    }

    const TExpr& Take(int pool) { return Pools[pool].Next(); }

    void Plan(const TIsaRow& row, TOperand operand) { Plain.push_back({&row, std::move(operand)}); }

    // Every form of every row that is not a branch, to be emitted in table order and to serve
    // as filler inside the branch blocks.
    void PlanPlainStatements() {
        for (const TIsaRow& row : Isa.Rows) {
            const bool hasDirect = Isa.Find(row.Mnemonic, TIsaMode::Direct) != nullptr;
            switch (row.Mode) {
            case TIsaMode::Inherent:
                Plan(row, {});
                break;
            case TIsaMode::Immediate8:
                for (int i = 0; i < 3; ++i)
                    Plan(row, Immediate(Take(Imm8Pool)));
                break;
            case TIsaMode::Immediate16:
                for (int i = 0; i < 4; ++i)
                    Plan(row, Immediate(Take(Imm16Pool)));
                break;
            case TIsaMode::Direct:
                for (int i = 0; i < 3; ++i)
                    Plan(row, Direct(Take(DirectPool)));
                break;
            case TIsaMode::Extended:
                Plan(row, Extended(Take(BigPool)));
                Plan(row, Extended(Take(BigPool)));
                Plan(row, Extended(Take(ForwardBigPool)));
                Plan(row, Extended(Take(ForwardSmallPool)));
                // Without a direct mode a short address is extended anyway; ">" is only
                // accepted where there is a choice.
                Plan(row,
                     hasDirect ? ForcedExtended(Take(DirectPool)) : Extended(Take(DirectPool)));
                break;
            case TIsaMode::IndexedX:
            case TIsaMode::IndexedY:
                Plan(row, Indexed(nullptr, IsIndexedY(row.Mode)));
                Plan(row, Indexed(&Take(IndexPool), IsIndexedY(row.Mode)));
                Plan(row, Indexed(&Take(IndexPool), IsIndexedY(row.Mode)));
                break;
            case TIsaMode::BitDirect:
                for (int i = 0; i < 3; ++i)
                    Plan(row,
                         WithMask(BitAddress(row.Mode, &Take(BitAddressPool)), Take(MaskPool)));
                break;
            case TIsaMode::BitIndexedX:
            case TIsaMode::BitIndexedY:
                Plan(row, WithMask(BitAddress(row.Mode, nullptr), Take(MaskPool)));
                Plan(row, WithMask(BitAddress(row.Mode, &Take(IndexPool)), Take(MaskPool)));
                break;
            default:
                break;
            }
        }
    }

    void NextWindow() {
        if (WindowIndex >= CodeWindows.size())
            throw std::logic_error("the coverage program needs more code windows");
        const auto [start, limit] = CodeWindows[WindowIndex++];
        W.Org(start, limit);
        W.Label(W.NewName("WIN"));
    }

    void EnsureRoom(int bytes) {
        if (W.Room() < bytes)
            NextWindow();
    }

    void EmitPlain() {
        EnsureRoom(Plain.front().Row->Bytes);
        W.Instruction(*Plain.front().Row, Plain.front().Operand);
        Plain.pop_front();
    }

    // Exactly `bytes` bytes of other rows' statements, topped up with FCB data.
    void Fill(int bytes) {
        while (bytes > 0) {
            if (!Plain.empty() && Plain.front().Row->Bytes <= bytes) {
                bytes -= Plain.front().Row->Bytes;
                W.Instruction(*Plain.front().Row, Plain.front().Operand);
                Plain.pop_front();
                continue;
            }
            std::vector<TDataItem> items;
            for (int i = std::min(bytes, 8); i > 0; --i)
                items.push_back({Take(FillPool)});
            bytes -= static_cast<int>(items.size());
            W.ByteData(items);
        }
    }

    // The address and mask of a bit branch: direct, or indexed with and without an offset.
    TOperand BranchPrefix(const TIsaRow& row) {
        if (row.Mode == TIsaMode::Relative)
            return {};
        const TExpr* address = nullptr;
        if (IsBitDirect(row.Mode))
            address = &Take(BitAddressPool);
        else if (++PrefixTurn % 2 == 0)
            address = &Take(IndexPool);
        return WithMask(BitAddress(row.Mode, address), Take(MaskPool));
    }

    // The branch to a target 128 bytes back and one 127 bytes ahead (the offset is counted from
    // the next instruction), then the "#" target form, and for plain branches the branch to
    // itself ("*").
    void BranchForms(const TIsaRow& row) {
        EnsureRoom(2 * 128 + 3 * row.Bytes + 4);
        const std::string back = W.NewName("BK");
        W.Label(back);
        Fill(128 - row.Bytes);
        W.Instruction(row, WithTarget(BranchPrefix(row), W.Ref(back)));
        const std::string ahead = W.NewName("FW");
        W.Instruction(row, WithTarget(BranchPrefix(row), TDualWriter::Forward(ahead, 0, true)));
        Fill(127);
        W.Label(ahead);
        W.Instruction(row, WithTarget(BranchPrefix(row), W.Ref(ahead), true));
        if (row.Mode == TIsaMode::Relative)
            W.Instruction(row, {"*", "*"});
    }
};

// ---------------------------------------------------------------------------------------------
// Random programs.

class TRandomGenerator {
public:
    TRandomGenerator(const TIsaTable& isa, uint32_t seed) : Isa(isa), W(seed) {
        W.CaseChangePercent = 20;
        for (const TIsaRow& row : Isa.Rows)
            (IsBranch(row.Mode) ? BranchRows : PlainRows).push_back(&row);
    }

    TDualProgram Generate(int statements) {
        PlanWindows();
        W.Comment("Random program");
        for (int i = 0; i < 4; ++i)
            NewEqu();
        W.Org(0x0020, TLateNames::LastPageZeroAddress);
        for (int i = 0; i < statements; ++i)
            Statement();
        TLateNames::Define(W);
        return W.Finish();
    }

private:
    const TIsaTable& Isa;
    TDualWriter W;
    std::vector<const TIsaRow*> PlainRows;
    std::vector<const TIsaRow*> BranchRows;
    std::vector<std::pair<int, int>> Windows;
    size_t WindowIndex = 0;
    std::vector<std::string> KnownNames; // labels and EQU names defined so far

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(W.Rng());
    }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }

    // Disjoint windows from $0100 up to the late names, of random sizes and gaps.
    void PlanWindows() {
        for (int start = 0x0100; start < TLateNames::LastCodeAddress - 0x200;) {
            const int limit = std::min(start + Uniform(0x100, 0x800), TLateNames::LastCodeAddress);
            Windows.emplace_back(start, limit);
            start = limit + 1 + Uniform(0, 0x200);
        }
    }

    void NextWindow() {
        if (WindowIndex >= Windows.size())
            throw std::logic_error("the random program ran out of windows");
        const auto [start, limit] = Windows[WindowIndex++];
        W.Org(start, limit);
    }

    void EnsureRoom(int bytes) {
        while (W.Room() < bytes + 1)
            NextWindow();
    }

    TExpr RandomNumber(int low, int high) {
        return Number(Uniform(low, high), Radixes[Uniform(0, 4)]);
    }

    TExpr RandomTerm(bool allowForward, bool allowHere) {
        const int kind = Uniform(0, 9);
        if (kind < 3 && !KnownNames.empty())
            return W.Ref(Pick(KnownNames));
        if (kind == 3 && allowForward) {
            const TExpr late[] = {TLateNames::LateZ(), TLateNames::Late(), TLateNames::LateQ(),
                                  TLateNames::LateQW()};
            return late[Uniform(0, 3)];
        }
        if (kind == 4 && allowHere)
            return W.Here();
        return Uniform(0, 1) ? RandomNumber(0, 255) : RandomNumber(0, 0xFFFF);
    }

    // An expression whose value lies in low..high; a plain number when no random shape fits.
    TExpr RandomExpr(int low, int high, bool allowForward = false, bool allowHere = false) {
        static const char operators[] = "+-*/%&|^";
        for (int attempt = 0; attempt < 20; ++attempt) {
            TExpr e = RandomTerm(allowForward, allowHere);
            const int shape = Uniform(0, 9);
            if (shape >= 5) {
                const char op = shape >= 8 ? '+' : operators[Uniform(0, 7)];
                const TExpr right = op == '*' ? RandomNumber(0, 40) : RandomTerm(false, false);
                if (!CanCombine(e, op, right))
                    continue;
                e = Combine(e, op, right);
                if (shape == 9) {
                    const TExpr third = RandomNumber(0, 300);
                    const char op2 = Uniform(0, 1) ? '+' : '-';
                    if (CanCombine(e, op2, third))
                        e = Combine(e, op2, third);
                }
            }
            if (InRange(e, low, high) && (high > 255 || FitsByteField(e)))
                return e;
        }
        return RandomNumber(low, high);
    }

    // A mask follows another value after a blank; a data item must not look like a string.
    TExpr ByteValue(bool forMask) {
        for (;;) {
            TExpr e = Chance(10) ? RandomExpr(-128, -1) : RandomExpr(0, 255, true);
            if (forMask ? CanFollowBlank(e) && e.Value >= 0 : CanBeByteItem(e))
                return e;
        }
    }

    TOperand RandomPlainOperand(const TIsaRow& row) {
        const bool y = IsIndexedY(row.Mode);
        switch (row.Mode) {
        case TIsaMode::Inherent:
            return {};
        case TIsaMode::Immediate8:
            return Immediate(Chance(10) ? RandomExpr(-128, -1) : RandomExpr(0, 255, true));
        case TIsaMode::Immediate16:
            return Immediate(PendingOr(RandomExpr(0, 0xFFFF, true, true)));
        case TIsaMode::Direct:
            return Direct(RandomExpr(0, 255));
        case TIsaMode::Extended:
            return RandomExtended(row);
        case TIsaMode::IndexedX:
        case TIsaMode::IndexedY: {
            if (Chance(30))
                return Indexed(nullptr, y);
            const TExpr offset = RandomExpr(0, 255, true);
            return Indexed(&offset, y);
        }
        default: {
            const TExpr address = RandomExpr(0, 255, IsBitDirect(row.Mode) && Chance(50));
            const bool noOffset = !IsBitDirect(row.Mode) && Chance(30);
            return WithMask(BitAddress(row.Mode, noOffset ? nullptr : &address), ByteValue(true));
        }
        }
    }

    TOperand RandomExtended(const TIsaRow& row) {
        const bool hasDirect = Isa.Find(row.Mnemonic, TIsaMode::Direct) != nullptr;
        const int kind = Uniform(0, 3);
        if (kind == 0 && hasDirect)
            return ForcedExtended(RandomExpr(0, 255));
        if (kind == 1)
            return Extended(PendingOr(TLateNames::Late()));
        if (kind == 2 && !hasDirect)
            return Extended(RandomExpr(0, 0xFFFF));
        return Extended(RandomExpr(0x100, 0xFFFF, true));
    }

    // Now and then a label that a branch promised but that is not placed yet.
    // (Once placed, it is a backward reference, which Corvid may assemble direct.)
    TExpr PendingOr(const TExpr& e) {
        if (!PendingName || W.IsDefined(PendingName->Gnu) || !Chance(20))
            return e;
        return *PendingName;
    }
    std::optional<TExpr> PendingName;

    void PlainInstruction() {
        const TIsaRow& row = *Pick(PlainRows);
        EnsureRoom(row.Bytes);
        W.Instruction(row, RandomPlainOperand(row), Chance(8));
    }

    void Branch() {
        const TIsaRow& row = *Pick(BranchRows);
        EnsureRoom(row.Bytes + 8);
        TOperand prefix;
        if (row.Mode != TIsaMode::Relative) {
            const TExpr address = RandomExpr(0, 255);
            const bool noOffset = !IsBitDirect(row.Mode) && Chance(30);
            prefix = WithMask(BitAddress(row.Mode, noOffset ? nullptr : &address), ByteValue(true));
        }
        const int end = W.Pc() + row.Bytes;
        std::vector<std::string> reachable;
        for (const auto& [name, address] : W.LabelsInSection()) {
            if (address >= end - 128)
                reachable.push_back(name);
        }
        if (!reachable.empty() && Chance(50)) {
            W.Instruction(row, WithTarget(prefix, W.Ref(Pick(reachable)), Chance(15)));
            return;
        }
        const std::string target = W.NewName("Fw");
        W.Instruction(row, WithTarget(prefix, TDualWriter::Forward(target, 0, true), Chance(15)));
        W.Promise(target, end + 127);
        PendingName = TDualWriter::PendingRef(target);
    }

    void NewLabel() {
        const std::string name = W.NewName(Chance(50) ? "Lab" : "tbl");
        const TLabelStyle styles[] = {TLabelStyle::OwnLine, TLabelStyle::Colon,
                                      TLabelStyle::SameLine};
        W.Label(name, styles[Uniform(0, 2)]);
        KnownNames.push_back(name);
    }

    void NewEqu() {
        TExpr value = Chance(60) ? RandomExpr(0, 255) : RandomExpr(0, 0xFFFF);
        while (!CanBeNamed(value))
            value = RandomExpr(0, 0xFFFF);
        const std::string name = W.NewName("Eq");
        W.Equ(name, value, Chance(30));
        KnownNames.push_back(name);
    }

    void Data() {
        const int kind = Uniform(0, 2);
        if (kind == 1) {
            std::vector<TExpr> words;
            for (int i = Uniform(1, 6); i > 0; --i)
                words.push_back(Chance(10) ? RandomExpr(-32768, -1)
                                           : PendingOr(RandomExpr(0, 0xFFFF, true, true)));
            EnsureRoom(2 * static_cast<int>(words.size()));
            W.WordData(words);
            return;
        }
        std::vector<TDataItem> items;
        int size = 0;
        for (int i = Uniform(1, 8); i > 0; --i) {
            if (Chance(20)) {
                items.push_back(TDataItem::String(RandomText()));
                size += static_cast<int>(items.back().Text.size());
            } else {
                items.push_back(ByteValue(false));
                ++size;
            }
        }
        EnsureRoom(size);
        W.ByteData(items, kind == 0 ? "FCB" : "FCC");
    }

    std::string RandomText() {
        static const char characters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:!?()=+-";
        std::string text;
        for (int i = Uniform(1, 12); i > 0; --i)
            text += characters[Uniform(0, sizeof(characters) - 2)];
        return text;
    }

    void Statement() {
        const int r = Uniform(0, 99);
        if (r < 50)
            PlainInstruction();
        else if (r < 62)
            Branch();
        else if (r < 70)
            NewLabel();
        else if (r < 80)
            Data();
        else if (r < 83)
            NewEqu();
        else if (r < 86 && W.Room() > 40)
            W.Rmb(RandomNumber(1, 16));
        else if (r < 88 && Chance(25) && WindowIndex < Windows.size())
            NextWindow();
        else if (r < 93)
            W.CorvidComment("random comment " + std::to_string(r), Uniform(0, 2));
        else if (r < 95)
            W.Blank();
        else if (W.HasPromised())
            W.PlaceOnePromised(); // sooner than the branch needs
    }
};

// ---------------------------------------------------------------------------------------------
// Realistic programs for timing.

class TRealisticGenerator {
public:
    TRealisticGenerator(const TIsaTable& isa, uint32_t seed) : Isa(isa), W(seed) {}

    TDualProgram Generate(int lines) {
        Header();
        W.Org(0x8000, 0xFFFF);
        while (Lines < lines || RoutineCount < LastCalled)
            Routine();
        W.End();
        return W.Finish();
    }

private:
    const TIsaTable& Isa;
    TDualWriter W;
    std::vector<std::string> Variables; // direct page
    std::vector<std::string> Registers; // the register block
    std::vector<std::string> Routines;
    int RoutineCount = 0;

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(W.Rng());
    }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }
    int Lines = 0;

    const TIsaRow& Row(const char* mnemonic, TIsaMode mode) {
        const TIsaRow* row = Isa.Find(mnemonic, mode);
        if (row == nullptr)
            throw std::logic_error(std::string("no row for ") + mnemonic);
        return *row;
    }

    void Header() {
        W.Comment("Generated program: a controller with many small routines");
        W.Comment("");
        static const char* registers[] = {"PORTA", "PIOC", "PORTC", "PORTB", "PORTCL", "DDRC",
                                          "PORTD", "DDRD", "PORTE", "CFORC", "OC1M",   "OC1D",
                                          "TCNT",  "TIC1", "TOC1",  "TOC2",  "TCTL1",  "TMSK1",
                                          "TFLG1", "BAUD", "SCCR1", "SCCR2", "SCSR",   "SCDR"};
        int address = 0x1000;
        for (const char* name : registers) {
            W.Equ(name, Number(address++));
            Registers.push_back(name);
            ++Lines;
        }
        for (int i = 0; i < 48; ++i) {
            const std::string name = "VAR" + std::to_string(i);
            W.Equ(name, Number(0x40 + 2 * i));
            Variables.push_back(name);
            ++Lines;
        }
        Lines += 2;
    }

    void Instruction(const char* mnemonic, TIsaMode mode, const TOperand& operand,
                     const std::string& comment = "") {
        const TIsaRow& row = Row(mnemonic, mode);
        W.Instruction(row, operand, false, comment);
        ++Lines;
    }

    // One typical statement of a routine body.
    void BodyStatement() {
        static const char* loads[] = {"LDAA", "LDAB", "ADDA", "SUBA", "ANDA",
                                      "ORAA", "CMPA", "EORA", "ADCB", "BITA"};
        static const char* stores[] = {"STAA", "STAB", "STD"};
        static const char* inherent[] = {"INCA", "DECB", "CLRA", "TAB", "ABX",  "ASLA", "LSRB",
                                         "PSHA", "PULA", "INX",  "DEY", "TSTA", "COMB", "MUL"};
        static const char* comments[] = {"next byte",      "save it for later", "count down",
                                         "check the flag", "clear the bit",     "set up pointer",
                                         "wait for it",    "scale the value"};
        const int kind = Uniform(0, 11);
        const std::string comment = Chance(45) ? comments[Uniform(0, 7)] : "";
        switch (kind) {
        case 0:
        case 1:
            Instruction(loads[Uniform(0, 9)], TIsaMode::Direct, Direct(W.Ref(Pick(Variables))),
                        comment);
            break;
        case 2:
            Instruction(loads[Uniform(0, 9)], TIsaMode::Immediate8,
                        Immediate(Number(Uniform(0, 255), Radixes[Uniform(0, 2)])), comment);
            break;
        case 3:
            Instruction(stores[Uniform(0, 2)], TIsaMode::Direct, Direct(W.Ref(Pick(Variables))),
                        comment);
            break;
        case 4:
            Instruction(Chance(50) ? "LDAA" : "STAA", TIsaMode::Extended,
                        Extended(W.Ref(Pick(Registers))), comment);
            break;
        case 5: {
            const TExpr offset = Number(Uniform(0, 15), TRadix::Decimal);
            Instruction(Chance(50) ? "LDAA" : "STAB", TIsaMode::IndexedX, Indexed(&offset, false),
                        comment);
            break;
        }
        case 6:
            Instruction(Chance(50) ? "LDX" : "LDD", TIsaMode::Immediate16,
                        Immediate(Chance(50) ? W.Ref(Pick(Registers)) : Number(Uniform(0, 0xFFFF))),
                        comment);
            break;
        case 7:
            Instruction("JSR", TIsaMode::Extended, Extended(CalledRoutine()), comment);
            break;
        case 8: {
            // A flag of the register block through X, as programs that keep X at PORTA do.
            const TExpr offset = Combine(W.Ref(Pick(Registers)), '-', W.Ref("PORTA"));
            Instruction(Chance(50) ? "BSET" : "BCLR", TIsaMode::BitIndexedX,
                        WithMask(Indexed(&offset, false), Number(1 << Uniform(0, 7))), comment);
            break;
        }
        case 9: {
            const TExpr address = Combine(W.Ref(Pick(Variables)), '+', Number(1, TRadix::Decimal));
            Instruction(loads[Uniform(0, 9)], TIsaMode::Direct, Direct(address), comment);
            break;
        }
        default:
            Instruction(inherent[Uniform(0, 13)], TIsaMode::Inherent, {}, comment);
            break;
        }
    }

    // Mostly a routine written before, sometimes one further down.
    TExpr CalledRoutine() {
        if (Routines.empty() || Chance(20)) {
            const int later = RoutineCount + Uniform(1, 20);
            LastCalled = std::max(LastCalled, later);
            return TDualWriter::Forward("SUB" + std::to_string(later), 0, true);
        }
        return W.Ref(Pick(Routines));
    }
    int LastCalled = 0;

    void Table() {
        const std::string name = "TAB" + std::to_string(RoutineCount);
        W.Label(name);
        ++Lines;
        for (int row = Uniform(1, 4); row > 0; --row) {
            std::vector<TDataItem> items;
            for (int i = 0; i < 8; ++i)
                items.push_back({Number(Uniform(0, 255))});
            W.ByteData(items);
            ++Lines;
        }
        if (Chance(50)) {
            W.WordData({W.Ref(name), Number(Uniform(0, 0xFFFF))});
            W.ByteData({TDataItem::String("Message " + std::to_string(RoutineCount)), {Number(0)}},
                       "FCC");
            Lines += 2;
        }
    }

    void Routine() {
        if (W.Room() < 400) {
            W.Org(0x8000, 0xFFFF);
            ++Lines;
        }
        const std::string name = "SUB" + std::to_string(++RoutineCount);
        W.Comment("--------------------------------------------------");
        W.Comment(name + ": routine number " + std::to_string(RoutineCount));
        W.Comment("--------------------------------------------------");
        Lines += 3;
        W.Label(name, TLabelStyle::SameLine);
        Instruction("PSHX", TIsaMode::Inherent, {});
        if (Chance(25)) {
            const std::string wait = "WT" + std::to_string(RoutineCount);
            W.Label(wait, TLabelStyle::SameLine);
            const TExpr offset = Combine(W.Ref(Pick(Registers)), '-', W.Ref("PORTA"));
            Instruction("BRCLR", TIsaMode::BranchIndexedX,
                        WithTarget(WithMask(Indexed(&offset, false), Number(0x80)), W.Ref(wait)),
                        "wait for the flag");
        }
        const std::string loop = "LP" + std::to_string(RoutineCount);
        W.Label(loop, TLabelStyle::SameLine);
        for (int i = Uniform(4, 16); i > 0; --i)
            BodyStatement();
        if (Chance(40)) {
            const std::string skip = "SK" + std::to_string(RoutineCount);
            Instruction("BEQ", TIsaMode::Relative, {skip, skip});
            for (int i = Uniform(1, 5); i > 0; --i)
                BodyStatement();
            W.Label(skip);
            ++Lines;
        }
        Instruction("DECB", TIsaMode::Inherent, {});
        Instruction("BNE", TIsaMode::Relative, {loop, loop}, "again");
        Instruction("PULX", TIsaMode::Inherent, {});
        Instruction("RTS", TIsaMode::Inherent, {});
        if (Chance(15))
            Table();
        Routines.push_back(name);
    }
};

} // namespace

TDualProgram GenerateCoverageProgram(const TIsaTable& isa) {
    return TCoverageGenerator(isa).Generate();
}

TDualProgram GenerateRandomProgram(const TIsaTable& isa, uint32_t seed, int statements) {
    return TRandomGenerator(isa, seed).Generate(statements);
}

TDualProgram GenerateRealisticProgram(const TIsaTable& isa, int lines, uint32_t seed) {
    return TRealisticGenerator(isa, seed).Generate(lines);
}

std::vector<std::string> SectionStartArguments(const TDualProgram& program) {
    std::vector<std::string> arguments;
    for (const TGnuSection& section : program.Sections) {
        char address[8];
        std::snprintf(address, sizeof address, "0x%04X", section.Address);
        arguments.push_back("--section-start=" + section.Name + "=" + address);
    }
    return arguments;
}

} // namespace corvid::testing
