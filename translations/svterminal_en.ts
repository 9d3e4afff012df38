<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmKind</name>
    <message>
        <source>无有效数据</source>
        <translation>No valid data</translation>
    </message>
    <message>
        <source>串口连接已断开</source>
        <translation>Port connection lost</translation>
    </message>
    <message>
        <source>声速超出范围</source>
        <translation>SV out of range</translation>
    </message>
    <message>
        <source>跳变过多</source>
        <translation>Too many spikes</translation>
    </message>
    <message>
        <source>与计算声速相差过大</source>
        <translation>Far from computed SV</translation>
    </message>
    <message>
        <source>数据保存失败</source>
        <translation>Recording failed</translation>
    </message>
    <message>
        <source>串口无法打开</source>
        <translation>Cannot open port</translation>
    </message>
    <message>
        <source>MQTT 代理无法连接</source>
        <translation>Broker unreachable</translation>
    </message>
    <message>
        <source>电脑时钟偏差过大</source>
        <translation>PC clock offset</translation>
    </message>
</context>
<context>
    <name>AlarmStrip</name>
    <message>
        <source>确认报警</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>报警：%1</source>
        <translation>Alarm: %1</translation>
    </message>
    <message>
        <source>，</source>
        <comment>between alarm names</comment>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>AlarmsSection</name>
    <message>
        <source>电脑时钟与 GNSS 时间相差超过此值时报警</source>
        <translation>Alarm when the computer clock and GNSS time differ by more than this</translation>
    </message>
    <message>
        <source> 次/分</source>
        <translation> /min</translation>
    </message>
    <message>
        <source>跳变上限</source>
        <translation>Spike limit</translation>
    </message>
    <message>
        <source>声速差上限</source>
        <translation>Max SV diff.</translation>
    </message>
    <message>
        <source>解除前等待</source>
        <translation>Clear after</translation>
    </message>
    <message>
        <source>时钟偏差上限</source>
        <translation>Offset limit</translation>
    </message>
</context>
<context>
    <name>CrossCheckPanel</name>
    <message>
        <source>使用仪器测得的深度</source>
        <translation>Using the probe&apos;s depth</translation>
    </message>
    <message>
        <source>盐度</source>
        <translation>Salinity</translation>
    </message>
    <message>
        <source>深度</source>
        <translation>Depth</translation>
    </message>
    <message>
        <source>方程</source>
        <translation>Equation</translation>
    </message>
    <message>
        <source>计算声速</source>
        <translation>Calc. SV</translation>
    </message>
    <message>
        <source>实测−计算</source>
        <translation>Meas.−calc.</translation>
    </message>
    <message>
        <source>反算盐度</source>
        <translation>Implied sal.</translation>
    </message>
    <message>
        <source>超出该方程的适用范围时以红色显示</source>
        <translation>Shown in red outside the range this equation is valid for</translation>
    </message>
</context>
<context>
    <name>DataSection</name>
    <message>
        <source>平均只计合格读数</source>
        <translation>Average good readings only</translation>
    </message>
    <message>
        <source>平均声速的每一块只计质量合格的读数（超限和跳变不计入），适用于测量船；实验室测试超出测量限值的水样时请关闭</source>
        <translation>Each block of the average takes only readings that pass the quality check (out-of-range readings and spikes are left out), as a survey vessel needs; turn it off in the lab when testing water samples beyond the measuring limits</translation>
    </message>
    <message>
        <source>状态栏每行前显示到达时间（UTC）</source>
        <translation>Show the arrival time (UTC) before each line in the status pane</translation>
    </message>
    <message>
        <source>状态栏中仪器发来的每一行前加上它到达的 UTC 时间</source>
        <translation>Each line from the instrument in the status pane starts with the UTC time it arrived</translation>
    </message>
    <message>
        <source>保存数据时另存带时间的逐行记录（.lines.txt）</source>
        <translation>When recording, also keep a timed line log (.lines.txt)</translation>
    </message>
    <message>
        <source>仪器发来的每一行（测量值、回复和无法识别的内容）连同到达的 UTC 时间（毫秒）另存在记录文件旁；从下一次开始保存时起生效</source>
        <translation>Every line from the instrument (readings, replies and unrecognised text) with its UTC arrival time (ms), kept in a file beside the recording; takes effect from the next recording</translation>
    </message>
    <message>
        <source>平均声速只计合格读数</source>
        <translation>The block average takes good readings only</translation>
    </message>
    <message>
        <source>平均声速计入每个有效读数</source>
        <translation>The block average takes every valid reading</translation>
    </message>
    <message>
        <source>下次开始保存数据时另存逐行记录</source>
        <translation>The next recording also keeps a line log</translation>
    </message>
    <message>
        <source>不再另存逐行记录</source>
        <translation>No line log from now on</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>%1 已存在，要替换它吗？</source>
        <translation>%1 already exists. Replace it?</translation>
    </message>
</context>
<context>
    <name>ExportName</name>
    <message>
        <source>正在写入此文件，不能用导出覆盖它：%1</source>
        <translation>This file is being recorded; an export cannot replace it: %1</translation>
    </message>
    <message>
        <source>%1 已存在，但不是 %2 文件，不会覆盖它；请另选文件名。</source>
        <translation>%1 exists but is not a %2 file, so it is not replaced; please choose another name.</translation>
    </message>
</context>
<context>
    <name>ExportTarget</name>
    <message>
        <source>只能导出到普通文件：%1</source>
        <translation>Can only export to a regular file: %1</translation>
    </message>
</context>
<context>
    <name>FigureText</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>所在文件系统为只读</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no write permission</translation>
    </message>
    <message>
        <source>不是文件夹</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <source>路径中的 %1 不是文件夹</source>
        <translation>%1 in the path is not a folder</translation>
    </message>
    <message>
        <source>无法创建该文件夹：%1</source>
        <translation>cannot create the folder: %1</translation>
    </message>
    <message>
        <source>无法创建该文件夹</source>
        <translation>cannot create the folder</translation>
    </message>
</context>
<context>
    <name>InputSection</name>
    <message>
        <source>自动识别</source>
        <translation>Auto-detect</translation>
    </message>
    <message>
        <source>已识别输入格式：%1</source>
        <translation>Input format recognised: %1</translation>
    </message>
    <message>
        <source>忽略校验和</source>
        <translation>Ignore checksums</translation>
    </message>
    <message>
        <source>校验和不符的语句也作为读数（有的探头发送错误的校验和）</source>
        <translation>Take sentences with a wrong checksum as readings too (some probes send wrong checksums)</translation>
    </message>
    <message>
        <source>打开串口后发送，例如 start\r</source>
        <translation>Sent after the port opens, e.g. start\r</translation>
    </message>
    <message>
        <source>仅在按名称选择格式时发送，自动识别时从不发送；可用 \r \n \t \\ 和 \xHH</source>
        <translation>Sent only with a format chosen by name, never with auto-detect; \r \n \t \\ and \xHH may be used</translation>
    </message>
    <message>
        <source>输入格式</source>
        <translation>Input format</translation>
    </message>
    <message>
        <source>启动字符串</source>
        <translation>Start string</translation>
    </message>
    <message>
        <source>启动字符串中有无法识别的转义（可用 \r \n \t \\ \xHH）</source>
        <translation>Unknown escape in the start string (use \r \n \t \\ \xHH)</translation>
    </message>
    <message>
        <source>输入格式：%1</source>
        <translation>Input format: %1</translation>
    </message>
    <message>
        <source>按名称读取 %1 格式</source>
        <translation>Reading the %1 format, chosen by name</translation>
    </message>
    <message>
        <source>%1中：连续三行同一格式即确定（$ 行一行即确定）</source>
        <translation>%1: 3 lines in a row in one format decide it (1 for $)</translation>
    </message>
</context>
<context>
    <name>InterfaceLanguage</name>
    <message>
        <source>中文</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>LanguageSection</name>
    <message>
        <source>新的界面语言在重新启动程序后生效。</source>
        <translation>The new language applies when the program starts again.</translation>
    </message>
    <message>
        <source>现在重新启动</source>
        <translation>Restart now</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>LiveReport</name>
    <message numerus="yes">
        <source>未记录日志：报告取自实时缓存中的 %n 个读数（最多两小时），不含更早的读数和事件；本次会话共 %1 个畸形行，时间未知</source>
        <translation>
            <numerusform>No log recorded: the report is made of the %n reading in the live buffer (two hours at most), without earlier readings or events; malformed lines this session: %1, times unknown</numerusform>
            <numerusform>No log recorded: the report is made of the %n readings in the live buffer (two hours at most), without earlier readings or events; malformed lines this session: %1, times unknown</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LogReader</name>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>是文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>%1 不是测量日志或原始记录</source>
        <translation>%1 is neither a measurement log nor a raw recording</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>第 %1 行无法读取</source>
        <translation>
            <numerusform>Line %1 could not be read</numerusform>
            <numerusform>Lines %1 could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>第 %1 行等 %n 行无法读取</source>
        <translation>
            <numerusform>Lines %1 and more could not be read, %n line in all</numerusform>
            <numerusform>Lines %1 and more could not be read, %n lines in all</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MapPanel</name>
    <message>
        <source>导出航迹</source>
        <translation>Export Track</translation>
    </message>
    <message>
        <source>全部航迹</source>
        <translation>Whole Track</translation>
    </message>
    <message>
        <source>缩放到整个航迹并随船位移动（也可双击地图）</source>
        <translation>Zoom to the whole track and follow the vessel (or double-click the map)</translation>
    </message>
    <message>
        <source>把航迹的读数导出为 GeoJSON、KML 或 GPX 文件</source>
        <translation>Export the track&apos;s readings as a GeoJSON, KML or GPX file</translation>
    </message>
    <message>
        <source>带位置的读数 %1；船位 %2, %3</source>
        <translation>Positioned readings: %1; vessel %2, %3</translation>
    </message>
    <message>
        <source>带位置的读数 %1</source>
        <translation>Positioned readings: %1</translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation>Exported: %1</translation>
    </message>
</context>
<context>
    <name>MapTrackLayer</name>
    <message>
        <source>北</source>
        <translation>N</translation>
    </message>
</context>
<context>
    <name>MapView</name>
    <message>
        <source>东向 (m)</source>
        <translation>East (m)</translation>
    </message>
    <message>
        <source>北向 (m)</source>
        <translation>North (m)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
    <message>
        <source>标记读数</source>
        <translation>Flagged readings</translation>
    </message>
    <message>
        <source>船位与航向</source>
        <translation>Vessel and heading</translation>
    </message>
</context>
<context>
    <name>MqttClient</name>
    <message>
        <source>无法创建 MQTT 客户端</source>
        <translation>Cannot create the MQTT client</translation>
    </message>
    <message>
        <source>TLS 设置失败：%1</source>
        <translation>TLS setup failed: %1</translation>
    </message>
    <message>
        <source>无法连接 %1：%2</source>
        <translation>Cannot connect to %1: %2</translation>
    </message>
    <message>
        <source>代理拒绝连接：%1</source>
        <translation>Broker refused the connection: %1</translation>
    </message>
</context>
<context>
    <name>MqttConfig</name>
    <message>
        <source>未填写 MQTT 代理地址</source>
        <translation>No MQTT broker address given</translation>
    </message>
    <message>
        <source>站名不能为空，也不能含有 + # /</source>
        <translation>Station name must not be empty or contain + # /</translation>
    </message>
</context>
<context>
    <name>MqttLink</name>
    <message>
        <source>与代理的连接中断：%1</source>
        <translation>Connection to the broker lost: %1</translation>
    </message>
</context>
<context>
    <name>MqttLinkStatus</name>
    <message>
        <source>未连接</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>正在连接</source>
        <translation>connecting</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>connection failed</translation>
    </message>
</context>
<context>
    <name>MqttSection</name>
    <message>
        <source>主机[:端口]</source>
        <translation>host[:port]</translation>
    </message>
    <message>
        <source>CA 文件（TLS）</source>
        <translation>CA file (TLS)</translation>
    </message>
    <message>
        <source>记住密码</source>
        <translation>Remember password</translation>
    </message>
    <message>
        <source>每秒一条</source>
        <translation>One per second</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>MQTT 代理</source>
        <translation>MQTT broker</translation>
    </message>
    <message>
        <source>站名</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>MQTT 代理地址应为 主机[:端口]</source>
        <translation>The MQTT broker address must be host[:port]</translation>
    </message>
    <message>
        <source>已停止 MQTT 发布</source>
        <translation>MQTT publishing stopped</translation>
    </message>
    <message>
        <source>MQTT 发布：%1</source>
        <translation>MQTT publishing: %1</translation>
    </message>
    <message>
        <source>MQTT %1（%2）：已发布 %3，等待 %4，丢弃 %5 %6</source>
        <translation>MQTT %1 (%2): published %3, queued %4, dropped %5 %6</translation>
    </message>
    <message>
        <source>MQTT 未启用</source>
        <translation>MQTT not enabled</translation>
    </message>
</context>
<context>
    <name>NavInput</name>
    <message>
        <source>%1，每秒重试</source>
        <translation>%1; retrying every second</translation>
    </message>
    <message>
        <source>无法监听 UDP 端口 %1（%2）</source>
        <translation>Cannot listen on UDP port %1 (%2)</translation>
    </message>
    <message>
        <source>GNSS 接收机的串口已断开</source>
        <translation>GNSS receiver&apos;s port disconnected</translation>
    </message>
</context>
<context>
    <name>NavSection</name>
    <message>
        <source>serial:路径[:波特率] 或 udp:端口</source>
        <translation>serial:path[:baud] or udp:port</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>定位到达后多久内的读数记上该位置</source>
        <translation>How long after a fix arrives the readings are tagged with its position</translation>
    </message>
    <message>
        <source>GNSS 输入</source>
        <translation>GNSS input</translation>
    </message>
    <message>
        <source>定位有效期</source>
        <translation>Fix valid for</translation>
    </message>
    <message>
        <source>时钟偏差 (ms)</source>
        <translation>Clock offset (ms)</translation>
    </message>
    <message>
        <source>GNSS 输入：%1</source>
        <translation>GNSS input: %1</translation>
    </message>
    <message>
        <source>已停止 GNSS 输入</source>
        <translation>GNSS input stopped</translation>
    </message>
    <message>
        <source>校验错 %1</source>
        <translation>bad checksum %1</translation>
    </message>
    <message>
        <source>无定位 %1</source>
        <translation>no fix %1</translation>
    </message>
    <message>
        <source>字段错 %1</source>
        <translation>bad fields %1</translation>
    </message>
    <message>
        <source>其他语句 %1</source>
        <translation>other %1</translation>
    </message>
    <message>
        <source>过长 %1</source>
        <translation>too long %1</translation>
    </message>
    <message>
        <source>残句 %1</source>
        <translation>fragments %1</translation>
    </message>
    <message>
        <source>采用语句 %1</source>
        <translation>Sentences used: %1</translation>
    </message>
    <message>
        <source>采用语句 %1；%2</source>
        <translation>Sentences used: %1; %2</translation>
    </message>
    <message>
        <source>，</source>
        <comment>between sentence counts</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>未设置 GNSS 输入</source>
        <translation>No GNSS input set</translation>
    </message>
    <message>
        <source>GNSS 输入已停止</source>
        <translation>GNSS input stopped</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>定位 %1, %2（质量 %3，%4 s 前）</source>
        <translation>Fix %1, %2 (quality %3, %4 s ago)</translation>
    </message>
    <message>
        <source>定位：无</source>
        <translation>Fix: none</translation>
    </message>
    <message>
        <source>时钟偏差（电脑 − GNSS）%1 ms</source>
        <translation>Clock offset (PC − GNSS) %1 ms</translation>
    </message>
    <message>
        <source>时钟偏差：无测量</source>
        <translation>Clock offset: not measured</translation>
    </message>
</context>
<context>
    <name>NavSource</name>
    <message>
        <source>导航输入“%1”的格式应为 serial:串口[:波特率] 或 udp:端口</source>
        <translation>Navigation input &quot;%1&quot; should be serial:PORT[:BAUD] or udp:PORT</translation>
    </message>
    <message>
        <source>导航输入的波特率无效：“%1”（可用 1200 到 921600 的标准速率）</source>
        <translation>Invalid navigation input baud rate: &quot;%1&quot; (use a standard rate from 1200 to 921600)</translation>
    </message>
    <message>
        <source>导航输入缺少串口名</source>
        <translation>Navigation input lacks a port name</translation>
    </message>
    <message>
        <source>导航输入的 UDP 端口应为 1 到 65535 之间的整数：“%1”</source>
        <translation>Navigation input UDP port must be a whole number from 1 to 65535: &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>OutputConfig</name>
    <message>
        <source>无法识别的输出类型“%1”，应为 udp、tcp 或 serial</source>
        <translation>Unrecognised output type &quot;%1&quot;: use udp, tcp or serial</translation>
    </message>
    <message>
        <source>未知的输出格式“%1”，应为 sv2、sv3、svt、line 或 json</source>
        <translation>Unknown output format &quot;%1&quot;: use sv2, sv3, svt, line or json</translation>
    </message>
    <message>
        <source>串口名为空</source>
        <translation>Serial port name is empty</translation>
    </message>
    <message>
        <source>端口应为 1 到 65535 之间的整数：“%1”</source>
        <translation>Port must be a whole number from 1 to 65535: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>波特率无效：“%1”</source>
        <translation>Invalid baud rate: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>UDP 输出的主机名为空</source>
        <translation>UDP output host name is empty</translation>
    </message>
    <message>
        <source>输出设置“%1”的格式应为 udp:主机:端口[:格式]、tcp:端口[:格式] 或 serial:串口[:波特率[:格式]]</source>
        <translation>Output &quot;%1&quot; should be udp:HOST:PORT[:FORMAT], tcp:PORT[:FORMAT] or serial:PATH[:BAUD[:FORMAT]]</translation>
    </message>
    <message>
        <source>串口参数无效：数据位 %1，校验 %2，停止位 %3</source>
        <translation>Invalid serial settings: data bits %1, parity %2, stop bits %3</translation>
    </message>
    <message>
        <source>未知的输出条件“%1”</source>
        <translation>Unknown output condition &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>OutputEditor</name>
    <message>
        <source>串口</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>声速 2 位小数</source>
        <translation>SV, 2 decimals</translation>
    </message>
    <message>
        <source>声速 3 位小数</source>
        <translation>SV, 3 decimals</translation>
    </message>
    <message>
        <source>声速和温度</source>
        <translation>SV and temp.</translation>
    </message>
    <message>
        <source>仪器原始行</source>
        <translation>Raw probe line</translation>
    </message>
    <message>
        <source>全部有效读数</source>
        <translation>All valid</translation>
    </message>
    <message>
        <source>仅合格读数</source>
        <translation>Good only</translation>
    </message>
    <message>
        <source>哪些读数输出</source>
        <translation>Which readings are sent</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Output type</translation>
    </message>
    <message>
        <source>串口名或设备路径</source>
        <translation>Port or path</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>目标主机</source>
        <translation>Target host</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>语句格式</source>
        <translation>Sentence format</translation>
    </message>
    <message>
        <source>保持上一合格值</source>
        <translation>Hold last good</translation>
    </message>
    <message>
        <source>读数被拦截时，每秒重发上一合格值，直到数据过期</source>
        <translation>While readings are blocked, resend the last good value every second until the data go stale</translation>
    </message>
    <message>
        <source>%1
合格读数：%2</source>
        <translation>%1
Good readings: %2</translation>
    </message>
</context>
<context>
    <name>OutputHub</name>
    <message>
        <source>输出 %1：%2</source>
        <translation>Output %1: %2</translation>
    </message>
    <message>
        <source>串口已关闭</source>
        <translation>port closed</translation>
    </message>
    <message>
        <source>串口已断开</source>
        <translation>port disconnected</translation>
    </message>
    <message>
        <source>尚无读数</source>
        <translation>no readings yet</translation>
    </message>
</context>
<context>
    <name>OutputList</name>
    <message>
        <source>，保持</source>
        <translation>, hold</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>条件</source>
        <translation>Gate</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>已发送</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>已拦截</source>
        <translation>Blocked</translation>
    </message>
    <message>
        <source>已丢弃</source>
        <translation>Dropped</translation>
    </message>
    <message>
        <source>最后发送</source>
        <translation>Last sent</translation>
    </message>
</context>
<context>
    <name>OutputTransport</name>
    <message>
        <source>未启用</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>发送中</source>
        <translation>Sending</translation>
    </message>
    <message>
        <source>等待中</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>OutputsPanel</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>按左侧各项新增一个输出</source>
        <translation>Add an output as set on the left</translation>
    </message>
    <message>
        <source>把左侧各项用于选中的输出</source>
        <translation>Apply the entries on the left to the selected output</translation>
    </message>
    <message>
        <source>%1（在“设置 › 质量”中修改）</source>
        <translation>%1 (change it in Settings › Quality)</translation>
    </message>
    <message numerus="yes">
        <source>最多只能设置 %n 个输出</source>
        <translation>
            <numerusform>At most %n output can be set</numerusform>
            <numerusform>At most %n outputs can be set</numerusform>
        </translation>
    </message>
    <message>
        <source>输出 %1（%2）正在发送，删除后接收方将收不到数据。删除吗？</source>
        <translation>Output %1 (%2) is sending; once it is removed its receivers get no more data. Remove it?</translation>
    </message>
</context>
<context>
    <name>PortSession</name>
    <message>
        <source>找不到该串口，请检查串口号和设备连接！</source>
        <translation>Port not found: check the port name and the device connection!</translation>
    </message>
    <message>
        <source>没有访问该串口的权限（Linux 下请把用户加入 dialout 组后重新登录）！</source>
        <translation>No permission to open this port (on Linux, add the user to the dialout group and log in again)!</translation>
    </message>
    <message>
        <source>串口已被其他程序占用！</source>
        <translation>The port is in use by another program!</translation>
    </message>
    <message>
        <source>该设备不是串口！</source>
        <translation>This device is not a serial port!</translation>
    </message>
</context>
<context>
    <name>ProfilesSection</name>
    <message>
        <source>配置方案</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>载入</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>请先填写配置方案名称</source>
        <translation>Enter a profile name first</translation>
    </message>
    <message>
        <source>
配置方案“%1”已存在，要用当前设置覆盖它吗？
</source>
        <translation>
Profile “%1” already exists. Overwrite it with the current settings?
</translation>
    </message>
    <message>
        <source>无法保存配置方案“%1”</source>
        <translation>Could not save profile “%1”</translation>
    </message>
    <message>
        <source>已保存配置方案“%1”</source>
        <translation>Profile “%1” saved</translation>
    </message>
    <message>
        <source>
当前设置在上次保存或载入后已更改，载入配置方案“%1”将替换这些更改。继续吗？
</source>
        <translation>
The settings have changed since they were last saved or loaded; loading profile “%1” replaces those changes. Continue?
</translation>
    </message>
    <message>
        <source>已载入配置方案“%1”</source>
        <translation>Profile “%1” loaded</translation>
    </message>
    <message>
        <source>部分设置未能应用：%1</source>
        <translation>Some settings could not be applied: %1</translation>
    </message>
    <message>
        <source>、</source>
        <comment>between setting names</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>已删除配置方案“%1”</source>
        <translation>Profile “%1” deleted</translation>
    </message>
    <message>
        <source>导出配置方案</source>
        <translation>Export profile</translation>
    </message>
    <message>
        <source>配置方案 (*.ini)</source>
        <translation>Profiles (*.ini)</translation>
    </message>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>导入配置方案</source>
        <translation>Import profile</translation>
    </message>
    <message>
        <source>配置方案 (*.ini);;所有文件 (*)</source>
        <translation>Profiles (*.ini);;All files (*)</translation>
    </message>
    <message>
        <source>已导入配置方案“%1”</source>
        <translation>Profile “%1” imported</translation>
    </message>
</context>
<context>
    <name>QualityLimits</name>
    <message>
        <source>%1应为不小于 0 的数字：“%2”</source>
        <translation>%1 must be a number of 0 or more: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>范围最小值</source>
        <translation>Range minimum</translation>
    </message>
    <message>
        <source>范围最大值</source>
        <translation>Range maximum</translation>
    </message>
    <message>
        <source>跳变阈值</source>
        <translation>Spike threshold</translation>
    </message>
    <message>
        <source>范围最小值 %1 大于最大值 %2</source>
        <translation>Range minimum %1 is above the maximum %2</translation>
    </message>
    <message>
        <source>跳变阈值应大于 0</source>
        <translation>Spike threshold must be above 0</translation>
    </message>
</context>
<context>
    <name>QualitySection</name>
    <message>
        <source>%1–%2 m/s，跳变 %3 m/s</source>
        <translation>%1–%2 m/s, spike %3 m/s</translation>
    </message>
    <message>
        <source>合格范围</source>
        <translation>Good range</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>跳变阈值</source>
        <translation>Spike threshold</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>超出范围，或与前 11 个读数的中值相差超过阈值的读数标为异常：趋势图上为红点，“仅合格读数”的输出不发送它。</source>
        <translation>A reading outside the range, or further than the threshold from the median of the 11 readings before it, is flagged: a red dot on the trend, and outputs of good readings only do not send it.</translation>
    </message>
    <message>
        <source>已应用：%1</source>
        <translation>Applied: %1</translation>
    </message>
</context>
<context>
    <name>RawRecordingParser</name>
    <message>
        <source>原始记录没有逐行时间：各行的时间按开始与结束时间均匀估计</source>
        <translation>The raw recording has no time for each line: line times are spread evenly from its start to its end</translation>
    </message>
    <message>
        <source>原始记录没有可用的结束时间行：结束时间取文件的修改时间</source>
        <translation>The raw recording has no usable end line: the end time is the file&apos;s modification time</translation>
    </message>
    <message>
        <source>原始记录没有可用的结束时间：按每秒一行估计</source>
        <translation>The raw recording has no usable end time: one line a second is assumed</translation>
    </message>
    <message>
        <source>最后一行不完整</source>
        <translation>The last line is incomplete</translation>
    </message>
</context>
<context>
    <name>RecordingFlow</name>
    <message>
        <source>保存数据</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>停止保存</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>保存数据为</source>
        <translation>Save data as</translation>
    </message>
    <message>
        <source>文本(*.txt );自定义文件(*.*);</source>
        <translation>Text (*.txt );All files (*.*);</translation>
    </message>
    <message>
        <source>
文件打开失败
请检查路径和权限！
</source>
        <translation>
Could not open the file
Check the path and the permissions!
</translation>
    </message>
    <message>
        <source>开始保存数据：%1</source>
        <translation>Recording started: %1</translation>
    </message>
    <message>
        <source>测量记录（CSV）：%1</source>
        <translation>Measurement log (CSV): %1</translation>
    </message>
    <message>
        <source>
测量记录文件无法创建
%1
%2
原始数据照常保存。
</source>
        <translation>
Could not create the measurement log
%1
%2
The raw data is recorded as usual.
</translation>
    </message>
    <message>
        <source>
数据写入失败
已停止保存，请检查磁盘空间和设备！
</source>
        <translation>
Writing the data failed
Recording stopped; check the disk space and the device!
</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>ReviewPlot</name>
    <message>
        <source>端口断开/恢复</source>
        <translation>Port lost/back</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>输入格式</source>
        <translation>Input format</translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>生成报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>打开记录</source>
        <translation>Open Log</translation>
    </message>
    <message>
        <source>记录回顾 — %1</source>
        <translation>Log Review — %1</translation>
    </message>
    <message>
        <source>原始记录：各行时间为估计值</source>
        <translation>Raw recording: line times are estimated</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>文件写入失败：
%1</source>
        <translation>Could not write the file:
%1</translation>
    </message>
    <message>
        <source>可见范围</source>
        <translation>Span shown</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>SerialTransport</name>
    <message>
        <source>串口连接已断开（%1），正在等待设备……</source>
        <translation>Port connection lost (%1); waiting for the device…</translation>
    </message>
    <message>
        <source>串口 %1 已连接</source>
        <translation>Port %1 connected</translation>
    </message>
</context>
<context>
    <name>SessionMap</name>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
</context>
<context>
    <name>SessionPlot</name>
    <message>
        <source>没有读数</source>
        <translation>No readings</translation>
    </message>
    <message>
        <source>时间 (UTC)，%1 起</source>
        <translation>Time (UTC) from %1</translation>
    </message>
    <message>
        <source>合格读数（间断处断开）</source>
        <translation>Good readings (broken at gaps)</translation>
    </message>
    <message>
        <source>超限或尖峰读数（超出坐标的画在边上）</source>
        <translation>Out of range or spike (off-scale ones at the edge)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
</context>
<context>
    <name>SessionReport</name>
    <message>
        <source>起 (UTC)</source>
        <translation>From (UTC)</translation>
    </message>
    <message>
        <source>止 (UTC)</source>
        <translation>To (UTC)</translation>
    </message>
    <message>
        <source>时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message numerus="yes">
        <source>以上为前 %1 项，共 %n 项</source>
        <translation>
            <numerusform>The first %1 of %n are listed above</numerusform>
            <numerusform>The first %1 of %n are listed above</numerusform>
        </translation>
    </message>
    <message>
        <source>未结束</source>
        <translation>Not ended</translation>
    </message>
    <message>
        <source>无法绘制报告</source>
        <translation>Cannot draw the report</translation>
    </message>
    <message>
        <source>声速测量报告</source>
        <translation>Sound Velocity Report</translation>
    </message>
    <message>
        <source>（估计）</source>
        <translation> (estimated)</translation>
    </message>
    <message>
        <source>文件与时间</source>
        <translation>Files and times</translation>
    </message>
    <message>
        <source>原始记录</source>
        <translation>Raw recording</translation>
    </message>
    <message>
        <source>测量日志</source>
        <translation>Measurement log</translation>
    </message>
    <message>
        <source>开始 (UTC)</source>
        <translation>Start (UTC)</translation>
    </message>
    <message>
        <source>结束 (UTC)</source>
        <translation>End (UTC)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>串口与仪器配置</source>
        <translation>Port and instrument configuration</translation>
    </message>
    <message>
        <source>串口：%1    线路设置：%2    输入格式：%3</source>
        <translation>Port: %1    Line settings: %2    Input format: %3</translation>
    </message>
    <message>
        <source>发送的配置命令：%1</source>
        <translation>Configuration commands sent: %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message numerus="yes">
        <source>会话中的配置过程：%n 次</source>
        <translation>
            <numerusform>Configuration runs in the session: %n</numerusform>
            <numerusform>Configuration runs in the session: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>统计（合格读数）</source>
        <translation>Figures (good readings)</translation>
    </message>
    <message>
        <source>温度 (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>计数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Standard deviation</translation>
    </message>
    <message>
        <source>畸形行</source>
        <translation>malformed lines</translation>
    </message>
    <message>
        <source>无法读取的行</source>
        <translation>unreadable lines</translation>
    </message>
    <message>
        <source>有效读数 %1 行，速率 %2 行/秒；标记：超限 %3，尖峰 %4；%5 %6</source>
        <translation>Valid readings: %1, rate %2 lines/s; flagged: out of range %3, spikes %4; %5: %6</translation>
    </message>
    <message>
        <source>间断与断线</source>
        <translation>Gaps and port losses</translation>
    </message>
    <message>
        <source>读数间隔超过 %1 的间断：%2 处，共 %3</source>
        <translation>Gaps between readings longer than %1: %2, %3 in all</translation>
    </message>
    <message numerus="yes">
        <source>串口断开：%n 次</source>
        <translation>
            <numerusform>Port lost: %n time</numerusform>
            <numerusform>Port lost: %n times</numerusform>
        </translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>报警</source>
        <comment>table column</comment>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>与声速方程的比对（盐度 %1，深度 %2 m，合格且带温度的读数 %3 行）</source>
        <translation>Equation cross-check (salinity %1, depth %2 m; good readings with temp.: %3)</translation>
    </message>
    <message>
        <source>（超出适用范围）</source>
        <translation> (outside validity range)</translation>
    </message>
    <message>
        <source>方程</source>
        <translation>Equation</translation>
    </message>
    <message>
        <source>实测−计算 平均 (m/s)</source>
        <translation>Mean measured−computed (m/s)</translation>
    </message>
    <message>
        <source>推算盐度</source>
        <translation>Implied salinity</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>航迹（按声速着色）</source>
        <translation>Track (coloured by sound speed)</translation>
    </message>
    <message>
        <source>带位置的读数 %1 行；起点 %2（%3 UTC），终点 %4（%5 UTC）</source>
        <translation>Positioned readings: %1; start %2 (%3 UTC), end %4 (%5 UTC)</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>设置文件已损坏，能读取的设置已恢复，其余使用默认值</source>
        <translation>The settings file is damaged: the readable settings were restored, the rest are defaults</translation>
    </message>
    <message>
        <source>设置由较新版本的程序保存，能读取的设置已恢复，其余使用默认值</source>
        <translation>The settings were saved by a newer version: the readable settings were restored, the rest are defaults</translation>
    </message>
    <message>
        <source>部分设置无法读取，已使用默认值：%1</source>
        <translation>Some settings could not be read and are defaults: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>SettingsPanel</name>
    <message>
        <source>配置方案</source>
        <translation>Profiles</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>输入格式</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>质量</source>
        <translation>Quality</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>没有名为“%1”的配置</source>
        <translation>No profile named &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1（原文件已另存为 %2）</source>
        <translation>%1 (the original file was kept as %2)</translation>
    </message>
    <message>
        <source>无法写入文件 %1</source>
        <translation>Cannot write file %1</translation>
    </message>
    <message>
        <source>配置名称不能为空</source>
        <translation>Profile name must not be empty</translation>
    </message>
    <message>
        <source>无法读取文件 %1</source>
        <translation>Cannot read file %1</translation>
    </message>
    <message>
        <source>%1 不是本程序导出的配置</source>
        <translation>%1 is not a profile exported by this program</translation>
    </message>
    <message>
        <source>无法保存配置“%1”</source>
        <translation>Cannot save profile &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>部分设置未能应用：%1</source>
        <translation>Some settings could not be applied: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1；%2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>Station</name>
    <message>
        <source>串口连接已断开，配置未完成</source>
        <translation>Port connection lost; configuration not completed</translation>
    </message>
    <message>
        <source>无法在 %1 中开始保存数据（%2），程序照常运行，不保存</source>
        <translation>Cannot start recording in %1 (%2); the program runs on without recording</translation>
    </message>
    <message>
        <source>启动字符串无法识别，未发送：%1</source>
        <translation>Start string not recognised, not sent: %1</translation>
    </message>
    <message>
        <source>启动字符串未能写入串口</source>
        <translation>Start string could not be written to the port</translation>
    </message>
</context>
<context>
    <name>StatusTabs</name>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>趋势与质量</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Outputs</translation>
    </message>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>上次配置回复</source>
        <translation>Config replies</translation>
    </message>
    <message>
        <source>（仪器没有回复）</source>
        <translation>(No reply from the instrument)</translation>
    </message>
</context>
<context>
    <name>TcpServerTransport</name>
    <message>
        <source>无法在端口 %1 上监听：%2</source>
        <translation>Cannot listen on port %1: %2</translation>
    </message>
    <message>
        <source>TCP 客户端 %1:%2 不再接收数据（积压 %3 KiB），已断开</source>
        <translation>TCP client %1:%2 stopped reading (%3 KiB backlog); disconnected</translation>
    </message>
</context>
<context>
    <name>TrackCommand</name>
    <message>
        <source>未知的航迹格式：%1</source>
        <translation>Unknown track format: %1</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TrackExport</name>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>橙</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>各点按声速着色（m/s），%1 至 %2：</source>
        <translation>Points coloured by sound speed (m/s), %1 to %2:</translation>
    </message>
    <message>
        <source>%1：%2 起</source>
        <translation>%1: from %2</translation>
    </message>
    <message>
        <source>日志中没有带位置的读数，无法导出航迹</source>
        <translation>The log has no readings with a position: no track to export</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>TrendFigures</name>
    <message>
        <source>声速</source>
        <translation>Sound speed</translation>
    </message>
    <message>
        <source>平均声速</source>
        <translation>Block average</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Flagged</translation>
    </message>
    <message>
        <source>读数 (合格)</source>
        <translation>Count (good)</translation>
    </message>
    <message>
        <source>速率 (行/秒)</source>
        <translation>Rate (lines/s)</translation>
    </message>
    <message>
        <source>最小 (m/s)</source>
        <translation>Min (m/s)</translation>
    </message>
    <message>
        <source>最大 (m/s)</source>
        <translation>Max (m/s)</translation>
    </message>
    <message>
        <source>平均 (m/s)</source>
        <translation>Mean (m/s)</translation>
    </message>
    <message>
        <source>标准差 (m/s)</source>
        <translation>Std dev (m/s)</translation>
    </message>
    <message>
        <source>平均温度 (°C)</source>
        <translation>Mean temp (°C)</translation>
    </message>
    <message>
        <source>超限 / 尖峰</source>
        <translation>Range / spike</translation>
    </message>
    <message>
        <source>畸形行</source>
        <translation>Malformed</translation>
    </message>
    <message>
        <source>间断 / 时长</source>
        <translation>Gaps / length</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>停滞</source>
        <translation>Stale</translation>
    </message>
    <message>
        <source>已关闭</source>
        <translation>Closed</translation>
    </message>
    <message>
        <source>已断开</source>
        <translation>Lost</translation>
    </message>
    <message>
        <source>畸形/校验/未识别</source>
        <translation>Bad/cksum/unk.</translation>
    </message>
    <message>
        <source>数据流</source>
        <translation>Stream</translation>
    </message>
    <message>
        <source>最后有效 (UTC)</source>
        <translation>Last valid (UTC)</translation>
    </message>
</context>
<context>
    <name>TrendPlot</name>
    <message>
        <source>时间 (UTC)</source>
        <translation>Time (UTC)</translation>
    </message>
    <message>
        <source>声速 (m/s)</source>
        <translation>Sound speed (m/s)</translation>
    </message>
    <message>
        <source>温度 (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>5 分钟</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>30 分钟</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>2 小时</source>
        <translation>2 h</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>导出PNG</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>打开记录</source>
        <translation>Open Log</translation>
    </message>
    <message>
        <source>生成报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>独立窗口</source>
        <translation>Detach</translation>
    </message>
    <message>
        <source>CSV / 原始记录 (*)</source>
        <translation>CSV / raw recording (*)</translation>
    </message>
    <message>
        <source>显示范围</source>
        <translation>Span shown</translation>
    </message>
    <message>
        <source>统计</source>
        <translation>Stats</translation>
    </message>
    <message>
        <source>声速校核</source>
        <translation>SV check</translation>
    </message>
    <message>
        <source>无数据</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>仅有 %1 的数据</source>
        <translation>Only %1 of data</translation>
    </message>
    <message>
        <source>文件写入失败：
%1</source>
        <translation>Could not write the file:
%1</translation>
    </message>
    <message>
        <source>实时数据</source>
        <translation>Live data</translation>
    </message>
    <message>
        <source>（文件名中的时间为本地时间 %1）</source>
        <translation> (the time in the file name is local, %1)</translation>
    </message>
</context>
<context>
    <name>UdpTransport</name>
    <message>
        <source>正在查找主机 %1</source>
        <translation>Looking up host %1</translation>
    </message>
    <message>
        <source>找不到主机 %1</source>
        <translation>Host %1 not found</translation>
    </message>
</context>
<context>
    <name>frmain</name>
    <message>
        <source>配置结束，仪器的回复可在“上次配置回复”中查看</source>
        <translation>Configuration done; the instrument’s replies are under “Config replies”</translation>
    </message>
    <message>
        <source>
串口未打开
请先打开串口！
</source>
        <translation>
The port is not open
Open the port first!
</translation>
    </message>
    <message>
        <source>当前读取的是 %1 格式的探头，配置命令是为本仪器（dollar 格式）设计的，此探头可能无法识别。
仍要发送吗？</source>
        <translation>The probe being read sends the %1 format; the configuration commands are made for this instrument (dollar format) and this probe may not understand them.
Send them anyway?</translation>
    </message>
    <message>
        <source>写入串口失败，配置未完成</source>
        <translation>Writing to the port failed; configuration not completed</translation>
    </message>
    <message>
        <source>
数值不在范围内!
请输入(1~30)范围的数字
</source>
        <translation>
Value out of range!
Enter a number in the range (1~30)
</translation>
    </message>
    <message>
        <source>设置成功！</source>
        <translation>Set successfully!</translation>
    </message>
    <message>
        <source>数值必须为大于0的整数！</source>
        <translation>The value must be a whole number greater than 0!</translation>
    </message>
    <message>
        <source>串口参数设置</source>
        <translation>Port settings</translation>
    </message>
    <message>
        <source>数据显示</source>
        <translation>Data display</translation>
    </message>
    <message>
        <source>串口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>校验位：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>实时声速:</source>
        <translation>Live SV:</translation>
    </message>
    <message>
        <source>平均声速:</source>
        <translation>Avg SV:</translation>
    </message>
    <message>
        <source>实时温度:</source>
        <translation>Temp:</translation>
    </message>
    <message>
        <source>声速仪配置区</source>
        <translation>Instrument configuration</translation>
    </message>
    <message>
        <source>声速仪波特率： </source>
        <translation>Instrument baud: </translation>
    </message>
    <message>
        <source>声速仪输出速率：</source>
        <translation>Output rate:</translation>
    </message>
    <message>
        <source>范围: (1-30)</source>
        <translation>Range: (1-30)</translation>
    </message>
    <message>
        <source>声速仪输出格式： </source>
        <translation>Output format: </translation>
    </message>
    <message>
        <source>温 度 输 出 ： </source>
        <translation>Temp output: </translation>
    </message>
    <message>
        <source>平均声速点数：</source>
        <translation>Avg points:</translation>
    </message>
    <message>
        <source>设置点数</source>
        <translation>Set points</translation>
    </message>
    <message>
        <source>发送配置</source>
        <translation>Send config</translation>
    </message>
    <message>
        <source>保存配置</source>
        <translation>Save config</translation>
    </message>
    <message>
        <source>默认格式</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>格式一</source>
        <translation>Format 1</translation>
    </message>
    <message>
        <source>格式二</source>
        <translation>Format 2</translation>
    </message>
    <message>
        <source>允 许  </source>
        <translation>On  </translation>
    </message>
    <message>
        <source>禁 止  </source>
        <translation>Off  </translation>
    </message>
    <message>
        <source>状态显示区</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>串口关闭成功！</source>
        <translation>Port closed!</translation>
    </message>
    <message>
        <source>
串口打开失败
%1
</source>
        <translation>
Could not open the port
%1
</translation>
    </message>
    <message>
        <source>串口打开失败：%1，每秒重试</source>
        <translation>Could not open the port: %1; retrying every second</translation>
    </message>
    <message>
        <source>串口连接已断开，正在等待设备重新连接</source>
        <translation>Port connection lost; waiting for the device to reconnect</translation>
    </message>
    <message>
        <source>
串口连接已断开
正在等待设备重新连接……
</source>
        <translation>
Port connection lost
Waiting for the device to reconnect…
</translation>
    </message>
    <message>
        <source>串口已重新连接</source>
        <translation>Port reconnected</translation>
    </message>
    <message>
        <source>报警：%1</source>
        <translation>Alarm: %1</translation>
    </message>
    <message>
        <source>报警解除：%1</source>
        <translation>Alarm cleared: %1</translation>
    </message>
    <message>
        <source>声速仪显示配置终端V1.0</source>
        <translation>Sound Velocity Meter Terminal V1.0</translation>
    </message>
</context>
</TS>
