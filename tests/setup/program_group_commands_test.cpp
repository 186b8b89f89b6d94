// The program group's three commands in their text form and their parser, the same on
// every system.
#include <gtest/gtest.h>

#include "setup/program_group.h"

TEST(ProgramGroup, CommandsKeepTheirTextForm)
{
    EXPECT_EQ(CreateGroupCommand("ORDEXA"), "[CreateGroup(ORDEXA)]");
    EXPECT_EQ(AddItemCommand("/home/ana/ordexa", "ORDEXA", "ORDEXA"), "[AddItem(/home/ana/ordexa/ORDEXA,ORDEXA)]");
    EXPECT_EQ(AddItemCommand("/home/ana/ordexa/", "ORDEXA", "ORDEXA"), "[AddItem(/home/ana/ordexa/ORDEXA,ORDEXA)]");
    EXPECT_EQ(ShowGroupCommand("ORDEXA"), "[ShowGroup(ORDEXA,6)]");
    // A path with a comma is quoted, and reads back whole.
    const std::string quoted = AddItemCommand("/home/ana/mis, programas", "ORDEXA", "ORDEXA");
    EXPECT_EQ(quoted, "[AddItem(\"/home/ana/mis, programas/ORDEXA\",ORDEXA)]");
    ProgramGroupCommand command;
    ASSERT_TRUE(ParseProgramGroupCommand(quoted, command));
    EXPECT_EQ(command.arguments, (std::vector<std::string>{"/home/ana/mis, programas/ORDEXA", "ORDEXA"}));
}

TEST(ProgramGroup, ParserAcceptsTheThreeCommandsAndNothingElse)
{
    struct Case {
        const char* text;
        bool ok;
        ProgramGroupCommand::Kind kind;
        std::vector<std::string> arguments;
    };
    using K = ProgramGroupCommand::Kind;
    const std::vector<Case> cases = {
        {"[CreateGroup(ORDEXA)]", true, K::CreateGroup, {"ORDEXA"}},
        {"[AddItem(/opt/o/ORDEXA,ORDEXA)]", true, K::AddItem, {"/opt/o/ORDEXA", "ORDEXA"}},
        {"[AddItem(\"/a b/(x)\",Título)]", true, K::AddItem, {"/a b/(x)", "Título"}},
        {"[AddItem(\"/a \"\"b\"\"/x\",T)]", true, K::AddItem, {"/a \"b\"/x", "T"}},
        {"[AddItem(/a\"b/x,T)]", false, K::AddItem, {}},
        {"[ShowGroup(ORDEXA,6)]", true, K::ShowGroup, {"ORDEXA", "6"}},
        {"[CreateGroup()]", false, K::CreateGroup, {}},
        {"[AddItem(/solo/ruta)]", false, K::AddItem, {}},
        {"[DeleteGroup(ORDEXA)]", false, K::CreateGroup, {}},
        {"CreateGroup(ORDEXA)", false, K::CreateGroup, {}},
        {"[CreateGroup(ORDEXA]", false, K::CreateGroup, {}},
        {"[CreateGroup(\"ORDEXA)]", false, K::CreateGroup, {}},
        {"[CreateGroup(a(b))]", false, K::CreateGroup, {}},
        {"", false, K::CreateGroup, {}},
    };
    for (const Case& c : cases) {
        ProgramGroupCommand command;
        EXPECT_EQ(ParseProgramGroupCommand(c.text, command), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(command.kind, c.kind) << c.text;
            EXPECT_EQ(command.arguments, c.arguments) << c.text;
        }
    }
}
