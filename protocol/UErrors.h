#pragma once
// Errors that pass from the network, decoders and converters to the caller.
// Each carries a class name, which the console tool prints beside the message.

#include <stdexcept>
#include <string>

class EZudirirError : public std::runtime_error {
public:
  EZudirirError(std::string className, const std::string& message)
      : std::runtime_error(message), ClassName(std::move(className)) {}
  std::string ClassName;
};

#define LUMI_DECLARE_ERROR(Name)                                              \
  class Name : public EZudirirError {                                         \
  public:                                                                     \
    explicit Name(const std::string& message) : EZudirirError(#Name, message) {} \
  };

LUMI_DECLARE_ERROR(ESocketError)       // a socket call failed
LUMI_DECLARE_ERROR(EConnectError)      // a TCP connection could not be made
LUMI_DECLARE_ERROR(EReadTimeout)       // a read did not complete in time
LUMI_DECLARE_ERROR(EConnClosedGracefully)  // the peer closed before the reply was complete
LUMI_DECLARE_ERROR(EHostNotFound)      // a host name could not be resolved
LUMI_DECLARE_ERROR(EProtocolError)     // a reply that breaks the wire format (too large to hold)
LUMI_DECLARE_ERROR(EConvertError)      // a text or value could not be converted
LUMI_DECLARE_ERROR(EJpegError)         // picture data that do not decode
LUMI_DECLARE_ERROR(EFileError)         // a file could not be read or written

#undef LUMI_DECLARE_ERROR
