#include "foundation/HttpResponse.h"

#include "foundation/HttpRequest.h"

namespace RK {

HttpResponse::HttpResponse(HttpRequest* request) : request_(request) {
    if (request_) request_->retain();
}

HttpResponse::~HttpResponse() {
    if (request_) request_->release();
}

}  // namespace RK
