#include "UVersionInfo.h"

#include "UVersionRecord.h"

const TVersionInfo& VersionInfo() {
  static const TVersionInfo info{
      QStringLiteral(LUMIDOR_VERSION_PRODUCT_NAME),
      QStringLiteral(LUMIDOR_VERSION_PRODUCT_VERSION),
      QStringLiteral(LUMIDOR_VERSION_LEGAL_COPYRIGHT),
      QStringLiteral(LUMIDOR_VERSION_WEBSITE),
  };
  return info;
}
