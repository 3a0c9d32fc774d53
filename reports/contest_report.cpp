#include "reports/contest_report.h"

int CContestReport::PrepareHeader(const std::string&, const COleDateTime&, const COleDateTime&,
                                  const Settings&, IUserInterface&) {
  return 0;
}
void CContestReport::AddQsoLine(const std::string&, int, const std::string&, const COleDateTime&,
                                const std::string&, const std::string&) {}
void CContestReport::ReportPass(const QsoStore&) {}
std::string CContestReport::WriteReports(const std::string&) const { return std::string(); }
