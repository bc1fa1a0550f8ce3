#include "hang-service/service_page.h"

namespace corvalin::hang {

namespace {

// Plain JScript of the old school (var, function, no JSON): the page runs in
// browsers that know nothing newer. The status is fetched with a fresh query
// every time because a browser may answer a repeated GET from its cache.
const char kHead[] = R"page(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=gb2312">
<title>QQ在线挂机</title>
<style type="text/css">
body { font-size: 12px; font-family: "宋体"; background: #eef4fb; }
#panel { width: 360px; margin: 20px auto; padding: 12px; border: 1px solid #8db2e3; background: #fff; }
#zt_msg { color: #c00; }
</style>
<script type="text/javascript">
function newRequest() {
  if (window.XMLHttpRequest) return new XMLHttpRequest();
  return new ActiveXObject("Microsoft.XMLHTTP");
}
function showStatus(text) {
  document.getElementById("zt_msg").innerHTML = text;
}
function field(name) {
  return encodeURIComponent(document.getElementById(name).value);
}
// The service forgot this visitor (it restarted, or the session idled
// out): the page is loaded again, which starts a new session.
function sessionLost(request) {
  if (request.status != 403) return false;
  window.location.reload();
  return true;
}
function answered(request) {
  if (request.status == 200) showStatus(request.responseText);
  else if (!sessionLost(request)) showStatus("与挂机服务的连接中断，正在重试……");
}
function send(action) {
  var request = newRequest();
  var body = "action=" + action + "&userqq=" + field("userqq") + "&pwd=" + field("pwd") +
             "&verify=" + field("verify");
  request.open("POST", "/submit", true);
  request.setRequestHeader("Content-Type", "application/x-www-form-urlencoded");
  request.onreadystatechange = function () {
    if (request.readyState == 4) answered(request);
  };
  request.send(body);
  return false;
}
var polling = false;
function poll() {
  if (polling) return;
  polling = true;
  var request = newRequest();
  request.open("GET", "/status?t=" + new Date().getTime(), true);
  request.onreadystatechange = function () {
    if (request.readyState != 4) return;
    polling = false;
    answered(request);
  };
  request.send(null);
}
setInterval(poll, 1000);
</script>
</head>
<body>
<div id="panel">
<form name="hang" id="hang" action="/submit" method="post" onsubmit="return false">
<p>QQ帐号：<input type="text" name="userqq" id="userqq" maxlength="11"></p>
<p>QQ密码：<input type="password" name="pwd" id="pwd" maxlength="16"></p>
<p>验证码：<input type="text" name="verify" id="verify" maxlength="16"></p>
<p><input type="button" name="button" id="button" value="开始挂机" onclick="send('start')">
<input type="button" name="button2" id="button2" value="下线" onclick="send('offline')"></p>
</form>
<p>状态：<span id="zt_msg">)page";

const char kTail[] = R"page(</span></p>
</div>
</body>
</html>
)page";

}  // namespace

std::string ServicePage(const std::string& status) {
    return kHead + status + kTail;
}

}  // namespace corvalin::hang
