#include "wrParserBase.h"

TControlParser::~TControlParser() = default;
TParsingEngine::~TParsingEngine() = default;
TParserIgnore::~TParserIgnore() = default;
