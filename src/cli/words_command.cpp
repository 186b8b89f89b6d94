// ordexa-cli words AMOUNT
#include "calc/amount_text.h"
#include "calc/amount_words.h"
#include "cli/capture_cli.h"
#include "cli/cli_command.h"

int RunWords(const CliArgs& args)
{
    constexpr const char* kUsage = "words CANTIDAD";
    if (args.size() != 1 || (args[0].rfind("--", 0) == 0))
        return UsageError(kUsage);
    const std::string& text = args[0];
    double amount = 0;
    if (!ReadAmount(text, amount))
        return Refuse("La cantidad \"" + text +
                      "\" no es un número (escríbala con punto decimal, por ejemplo 1999.99 o $1,999.99).");
    return WriteOutputLines({CAmountWords().AmountInWords(amount)});
}
