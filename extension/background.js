// The context-menu entry 墨岚打单: hands the page's address and text to mldd-do,
// which passes them to the running 墨岚打单 window (or starts one).
const api = globalThis.browser ?? globalThis.chrome;
const HOST = "com.molan.mldd";
const MENU_ID = "mldd";
const NOT_FOUND =
  "找不到主程序，软件可能已经被移位或删除，请运行墨岚打单，点设置中的建立右键菜单！";

api.runtime.onInstalled.addListener(() => {
  api.contextMenus.removeAll(() => {
    api.contextMenus.create({
      id: MENU_ID,
      title: "墨岚打单",
      contexts: ["page", "selection", "link", "image", "frame"],
    });
  });
});

function pageOf() {
  return { url: document.URL, text: document.body ? document.body.innerText : "" };
}

function tell(tabId, message) {
  return api.scripting
    .executeScript({ target: { tabId }, func: (text) => alert(text), args: [message] })
    .catch(() => {});
}

// Reads the tab's top page and sends it; the answer of mldd-do decides what the seller sees.
async function captureTab(tab) {
  let page;
  try {
    const [injection] = await api.scripting.executeScript({
      target: { tabId: tab.id },
      func: pageOf,
    });
    page = injection.result;
  } catch (error) {
    await tell(tab.id, "这个页面不能提取：" + error.message);
    return { ok: false, message: error.message };
  }
  let answer;
  try {
    answer = await api.runtime.sendNativeMessage(HOST, page);
  } catch (error) {
    answer = { ok: false, message: NOT_FOUND };
  }
  if (!answer || !answer.ok)
    await tell(tab.id, (answer && answer.message) || NOT_FOUND);
  return answer;
}

api.contextMenus.onClicked.addListener((info, tab) => {
  if (info.menuItemId === MENU_ID && tab) captureTab(tab);
});

// The toolbar button (also Alt+Shift+M) does what the context-menu entry does.
api.action.onClicked.addListener((tab) => captureTab(tab));
