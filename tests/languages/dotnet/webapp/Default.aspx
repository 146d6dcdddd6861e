<%@ Page Language="vb" AutoEventWireup="false" CodeBehind="Default.aspx.vb" Inherits="WebApp._Default" %>
<!DOCTYPE html>
<html>
<head runat="server"><title>Customers</title></head>
<body>
    <form id="form1" runat="server">
        <asp:TextBox ID="txtName" runat="server" />
        <asp:Button ID="btnSave" runat="server" Text="Save" OnClick="btnSave_Click" />
        <!-- the list is filled on load -->
        <asp:DropDownList ID="lstCustomers" runat="server" AutoPostBack="true"
            OnSelectedIndexChanged="lstCustomers_Changed" />
    </form>
</body>
</html>
