// The files TWrightSpellBase (declared in wrSpellBase.h) could not read or write: kept as data and
// told once each through OnFileProblem; the session never shows them itself.
#include "wrSpellBase.h"

#include "wrCustomDictionary.h"

#include <algorithm>

namespace {

QString FailureText(TFileFailure Failure)
{
  switch (Failure) {
  case ffNone:
    break;
  case ffMissing:
    return QStringLiteral("was not found");
  case ffUnreadable:
    return QStringLiteral("could not be read");
  case ffWrongFormat:
    return QStringLiteral("could not be read (not a file of its kind)");
  case ffDamaged:
    return QStringLiteral("could not be read (damaged)");
  case ffNotCreated:
    return QStringLiteral("could not be created");
  case ffNotWritten:
    return QStringLiteral("could not be written");
  }
  return QStringLiteral("could not be read");
}

QString EffectText(TWrightSpellBase::TFileEffect Effect)
{
  switch (Effect) {
  case TWrightSpellBase::feNoChecking:
    return QStringLiteral("words cannot be checked");
  case TWrightSpellBase::feWordsUnknown:
    return QStringLiteral("its words are not recognised");
  case TWrightSpellBase::feNotUsed:
    return QStringLiteral("its words and automatic corrections are not used");
  case TWrightSpellBase::feNoAdding:
    return QStringLiteral("added words cannot be saved");
  case TWrightSpellBase::feNoLearning:
    return QStringLiteral("learnt suggestions cannot be kept");
  case TWrightSpellBase::feNoOptionSaving:
    return QStringLiteral("option changes cannot be saved");
  }
  return QString();
}

} // namespace

QString TWrightSpellBase::TFileProblem::Text() const
{
  return QLatin1Char('"') + NativePath(File) + QStringLiteral("\" ") + FailureText(Failure) +
         QStringLiteral(": ") + EffectText(Effect) + QLatin1Char('.');
}

std::vector<TWrightSpellBase::TFileProblem> TWrightSpellBase::FileProblemsOf(
    const QString &File) const
{
  std::vector<TFileProblem> found;
  for (const TFileProblem &p : FFileProblems)
    if (SameFile(p.File, File) || SameFile(ExtractFileName(p.File), File))
      found.push_back(p);
  return found;
}

void TWrightSpellBase::ReportFileProblem(const TFileProblem &Problem)
{
  if (!FTellProblems || Problem.Failure == ffNone)
    return;
  if (std::find(FFileProblems.begin(), FFileProblems.end(), Problem) != FFileProblems.end())
    return;
  FFileProblems.push_back(Problem);
  if (OnFileProblem)
    OnFileProblem(this, Problem);
}

void TWrightSpellBase::ReportOpenFailure(const QString &Name, TFileEffect Effect)
{
  // An override of the Get* operations that does not say why still leaves the file unread.
  const TFileFailure failure = FLastOpenFailure == ffNone ? ffUnreadable : FLastOpenFailure;
  ReportFileProblem({FLastOpenFile.isEmpty() ? Name : FLastOpenFile, failure, Effect});
}

void TWrightSpellBase::WatchSaves(TCustomDictionary *Dictionary, TFileEffect Effect)
{
  if (!Dictionary)
    return;
  Dictionary->OnSaveFailed = [this, Effect](TCustomDictionary &d) {
    ReportFileProblem({d.Filename(), ffNotWritten, Effect});
  };
}

void TWrightSpellBase::FireConfigSaveFailed()
{
  if (!FTellProblems) // the configuration saves as the component goes
    return;
  const bool file = FConfiguration->ConfigStorage() == csFile;
  ReportFileProblem({file ? FConfiguration->ConfigFilename() : FConfiguration->ConfigRegistryKey(),
                     ffNotWritten, feNoOptionSaving});
}
