// The message table of the expression language and the numeric input checks.
//
// Callers pass messages by index; the texts are the user-visible German texts,
// stored as UTF-8 with "\n" as line break. Indices 0..15 and 20..25 are the
// table proper; the two comma texts of the compiler stand outside it and get
// indices of their own here. Indices 26 and up are the refusals of
// equations, inequalities and parametric pairs.
#pragma once

namespace kv {

enum MessageId : int {
  kMsgNone = -1,
  kMsgInvalidExpression = 0,
  kMsgOnlyX = 1,
  kMsgDerivativeTooHigh = 2,
  kMsgTooLong = 3,
  kMsgSeveralFunctions = 4,
  kMsgBrackets = 5,
  kMsgFactorial = 6,
  kMsgPipe = 7,
  kMsgNoDiffEqu = 8,
  kMsgOrderTooHigh = 9,
  kMsgIntegralOneFunction = 10,
  kMsgOutOfMemory = 11,
  kMsgUndefinedValue = 12,
  kMsgXRange = 13,
  kMsgYRange = 14,
  kMsgTRange = 15,
  kMsgXStep = 20,
  kMsgTableTooLong = 21,
  kMsgYInsideD = 22,
  kMsgDTooDeep = 23,
  kMsgWrongVariable = 24,
  kMsgPolarNotAllowed = 25,
  kMsgNoRelation = 26,
  kMsgEmptySide = 27,
  kMsgChainedRelation = 28,
  kMsgYInPair = 29,
  kMsgTInImplicit = 30,
  kMsgCommaDecimal = 100,  // "Syntaxfehler:\nUngültiges Komma. Dezimaltrennzeichen ist der Punkt"
  kMsgComma = 101,         // "Syntaxfehler:\nUngültiges Komma"
};

// The text of a message, UTF-8; nullptr for an index without a text.
const char* message_text(int id);

}  // namespace kv
